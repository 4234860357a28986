#include "store/Settings.h"

#include "platform/SettingsStore.h"

#include <QMetaType>

#include <cstdint>
#include <optional>

namespace lorvane {

namespace {

// A stored whole number. The values were 32-bit DWORDs, so a number up to 2^32-1 reads
// back as the signed value with the same bits (how a negative window position returns).
std::optional<int> readInteger(const SettingsStore& store, const QString& name) {
    const auto v = store.value(name);
    if (!v)
        return std::nullopt;
    qlonglong n = 0;
    bool ok = false;
    switch (v->metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        n = v->toLongLong(&ok);
        break;
    case QMetaType::QString:
        n = v->toString().toLongLong(&ok, 10);
        break;
    default:
        return std::nullopt;
    }
    if (!ok || n < INT32_MIN || n > qlonglong(UINT32_MAX))
        return std::nullopt;
    return int(std::int32_t(std::uint32_t(n)));
}

void readInteger(const SettingsStore& store, const QString& name, int& field) {
    if (const auto n = readInteger(store, name))
        field = *n;
}

// Booleans are stored as numbers; any non-zero number is on.
void readBoolean(const SettingsStore& store, const QString& name, bool& field) {
    if (const auto n = readInteger(store, name))
        field = *n != 0;
}

// Absent text is read as "" and applied; a value that is not text leaves the field alone
// and returns false.
bool readText(const SettingsStore& store, const QString& name, QString& field) {
    const auto v = store.value(name);
    if (!v) {
        field.clear();
        return true;
    }
    if (v->metaType().id() != QMetaType::QString)
        return false;
    field = v->toString();
    return true;
}

} // namespace

QStringList SettingsNames() {
    return {QStringLiteral("top"),
            QStringLiteral("left"),
            QStringLiteral("width"),
            QStringLiteral("height"),
            QStringLiteral("tray"),
            QStringLiteral("recurse"),
            QStringLiteral("bracketformat"),
            QStringLiteral("dashformat"),
            QStringLiteral("trackformat"),
            QStringLiteral("customformat"),
            QStringLiteral("customstring"),
            QStringLiteral("customdir"),
            QStringLiteral("balanced"),
            QStringLiteral("random"),
            QStringLiteral("lastdrive"),
            QStringLiteral("lastdir"),
            QStringLiteral("savem3u"),
            QStringLiteral("loadm3u"),
            QStringLiteral("useassociations")};
}

void ReadSettings(const SettingsStore& store, SettingsValues& values) {
    if (!store.exists())
        return;
    readInteger(store, QStringLiteral("top"), values.top);
    readInteger(store, QStringLiteral("left"), values.left);
    readInteger(store, QStringLiteral("width"), values.width);
    readInteger(store, QStringLiteral("height"), values.height);
    readBoolean(store, QStringLiteral("tray"), values.tray);
    readBoolean(store, QStringLiteral("recurse"), values.recurse);
    readBoolean(store, QStringLiteral("bracketformat"), values.bracketformat);
    readBoolean(store, QStringLiteral("dashformat"), values.dashformat);
    readBoolean(store, QStringLiteral("trackformat"), values.trackformat);
    readBoolean(store, QStringLiteral("customformat"), values.customformat);
    if (!readText(store, QStringLiteral("customstring"), values.customstring))
        values.customstring = QStringLiteral("-=-");
    readText(store, QStringLiteral("customdir"), values.customdir);
    readBoolean(store, QStringLiteral("balanced"), values.balanced);
    readBoolean(store, QStringLiteral("random"), values.random);
    readInteger(store, QStringLiteral("lastdrive"), values.lastdrive);
    readText(store, QStringLiteral("lastdir"), values.lastdir);
    readText(store, QStringLiteral("savem3u"), values.savem3u);
    readText(store, QStringLiteral("loadm3u"), values.loadm3u);
    readBoolean(store, QStringLiteral("useassociations"), values.useassociations);
    const auto charset = store.value(QStringLiteral("id3charset"));
    if (charset && charset->metaType().id() == QMetaType::QString)
        values.id3charset = charset->toString();
}

bool WriteSettings(SettingsStore& store, const SettingsValues& v) {
    auto flag = [](bool on) { return QVariant(on ? 1 : 0); };
    std::vector<std::pair<QString, QVariant>> out = {
        {QStringLiteral("top"), v.top},
        {QStringLiteral("left"), v.left},
        {QStringLiteral("width"), v.width},
        {QStringLiteral("height"), v.height},
        {QStringLiteral("tray"), flag(v.tray)},
        {QStringLiteral("recurse"), flag(v.recurse)},
        {QStringLiteral("bracketformat"), flag(v.bracketformat)},
        {QStringLiteral("dashformat"), flag(v.dashformat)},
        {QStringLiteral("customformat"), flag(v.customformat)},
        {QStringLiteral("trackformat"), flag(v.trackformat)},
        {QStringLiteral("customstring"), v.customstring},
        {QStringLiteral("customdir"), v.customdir},
        {QStringLiteral("balanced"), flag(v.balanced)},
        {QStringLiteral("random"), flag(v.random)},
        {QStringLiteral("lastdrive"), v.lastdrive},
        {QStringLiteral("lastdir"), v.lastdir},
        {QStringLiteral("useassociations"), flag(v.useassociations)},
        {QStringLiteral("id3charset"), v.id3charset},
    };
    if (v.savedFolder)
        out.emplace_back(QStringLiteral("savem3u"), *v.savedFolder);
    if (v.loadedFolder)
        out.emplace_back(QStringLiteral("loadm3u"), *v.loadedFolder);
    return store.write(out);
}

QString ReadEnqueueCommand(const SettingsStore& store) {
    QString command;
    if (!readText(store, QStringLiteral("enqueuecommand"), command))
        command.clear();
    return command;
}

} // namespace lorvane
