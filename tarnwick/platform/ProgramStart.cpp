#include "ProgramStart.h"

#include <QFileInfo>
#include <QProcess>

bool StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool FileExists(const QString& path) {
    return QFileInfo(path).isFile();
}
