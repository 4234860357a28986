#include "MainWindow.h"

#include "UserDialogs.h"
#include "files/DataHome.h"
#include "platform/DesktopShell.h"
#include "platform/FileClipboard.h"
#include "platform/MprisPlayer.h"
#include "platform/ProcessRunner.h"
#include "platform/PulseVolume.h"
#include "platform/SettingsStoreIni.h"
#include "platform/SingleInstance.h"
#include "platform/TaskbarEntryX11.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lorvane"));

    // A second start only brings the running one forward; it builds nothing and leaves
    // the settings alone.
    lorvane::SingleInstance instance;
    if (instance.notifyRunning())
        return 0;
    instance.listen();

    lorvane::SettingsStoreIni settings;
    lorvane::DesktopShell shell;
    lorvane::QtUserDialogs dialogs;
    lorvane::MprisPlayer player;
    lorvane::PulseVolume volume;
    lorvane::ProcessRunner runner;
    lorvane::SystemFileClipboard clipboard;
    lorvane::TaskbarEntryX11 taskbar;
    TForm1 form({lorvane::ProgramFolder(), &settings, &shell, &dialogs, &player, &volume, &runner});
    form.setFileClipboard(&clipboard);
    form.setTaskbarEntry(&taskbar);
    QObject::connect(&instance, &lorvane::SingleInstance::popupRequested, &form,
                     &TForm1::PopupFromMessage);
    form.show();
    return app.exec();
}
