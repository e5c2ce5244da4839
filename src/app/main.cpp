// korvex-config: creates the object map and the main window (handing it the simulated gateway
// for when the user picks it), then runs the message loop.
#include "app/GatewaySimulator.h"
#include "model/ObjectMap.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/Prompter.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex-config"));
    // The map is large (three fixed-capacity lists); it lives on the heap for the whole run.
    auto map = std::make_unique<korvex::ObjectMap>();
    korvex::ui::window::QtPrompter prompter;
    korvex::ui::window::ConfigTool window(*map, prompter, korvex::app::gatewaySimulators());
    window.show();
    return app.exec();
}
