#include "cli/CommandRegistry.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    return cli::runCommandLine("lorvane-bench", argc, argv,
                               [](int& count, char** values) -> std::unique_ptr<QCoreApplication> {
                                   // Widgets are timed without a screen unless a platform is named.
                                   if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                                       qputenv("QT_QPA_PLATFORM", "offscreen");
                                   return std::make_unique<QApplication>(count, values);
                               });
}
