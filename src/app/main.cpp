// korvex-config: creates the object map and the main window (handing it the simulated gateway
// for when the user picks it), then runs the message loop.
#include "app/GatewaySimulator.h"
#include "model/ObjectMap.h"
#include "ui/window/ConfigTool.h"
#include "ui/window/MapRecovery.h"
#include "ui/window/FileOpening.h"
#include "ui/window/Prompter.h"
#include "vocab/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// --help and --version are answered before the application object exists, so they work
// without a display; every other argument is left to Qt.
bool answeredOption(int argc, char* argv[]) {
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("korvex-config %s\n", korvex::kVersion);
        return true;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::puts("Usage: korvex-config [--help | --version | FILE]\n"
                  "Opens the Korvex configuration tool: build the gateway's object map, keep it in a\n"
                  "file and send it to the gateway over its USB serial console.\n\n"
                  "  FILE       an object map (.xml) to open, or a .csv or .xif to import\n"
                  "  --help     print this text\n"
                  "  --version  print the program's version");
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    if (answeredOption(argc, argv)) return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvex-config"));
    QApplication::setApplicationVersion(QString::fromLatin1(korvex::kVersion));
    // The map is large (three fixed-capacity lists); it lives on the heap for the whole run.
    auto map = std::make_unique<korvex::ObjectMap>();
    korvex::ui::window::QtPrompter prompter;
    korvex::ui::window::ConfigTool window(*map, prompter, korvex::app::gatewaySimulators());
    window.show();
    window.startRecovery(korvex::ui::window::MapRecovery::defaultFolder(),
                         korvex::ui::window::MapRecovery::intervalFromEnvironment());
    // The file named on the command line (Qt has taken its own options): a file that does not
    // load is said so as Open says it, and the window stays.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && !arguments.at(1).startsWith(u'-'))
        korvex::ui::window::openNamedFile(window, arguments.at(1));
    return app.exec();
}
