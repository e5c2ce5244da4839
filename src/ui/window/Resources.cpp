// The window's images live in a resource file compiled into this static library; the linker
// keeps them only when something registers them explicitly.
#include <QtGlobal>

static void registerKorvexResources() {
    Q_INIT_RESOURCE(resources);
}

namespace korvex::ui::window {

void initResources() {
    registerKorvexResources();
}

} // namespace korvex::ui::window
