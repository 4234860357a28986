#include "store/Settings.h"

#include "store/SettingsStore.h"

#include <QMetaType>

#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <variant>

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

// One stored value: its name, its type (integer, boolean or text) and the field it
// fills. Text has two rules of its own: what an absent value means, and what replaces
// a value that is not text.
struct Value {
    using Field =
        std::variant<int SettingsValues::*, bool SettingsValues::*, QString SettingsValues::*>;

    const char* name;
    Field field;
    bool absentKeeps = false;         // absent text leaves the field instead of emptying it
    const char* unreadable = nullptr; // put in place of text of another type
    // The playlist folders are written from the playlist chosen since the start, and only
    // when there was one.
    std::optional<QString> SettingsValues::*chosen = nullptr;
};

constexpr Value integer(const char* name, int SettingsValues::*field) {
    return {name, field};
}

constexpr Value boolean(const char* name, bool SettingsValues::*field) {
    return {name, field};
}

constexpr Value text(const char* name, QString SettingsValues::*field) {
    return {name, field};
}

constexpr Value withUnreadable(Value v, const char* replacement) {
    v.unreadable = replacement;
    return v;
}

constexpr Value keptWhenAbsent(Value v) {
    v.absentKeeps = true;
    return v;
}

constexpr Value writtenFrom(Value v, std::optional<QString> SettingsValues::*chosen) {
    v.chosen = chosen;
    return v;
}

// Every stored value, in reading order. The character set came later, so older files
// lack it and it keeps its default when absent.
constexpr Value kValues[] = {
    integer("top", &SettingsValues::top),
    integer("left", &SettingsValues::left),
    integer("width", &SettingsValues::width),
    integer("height", &SettingsValues::height),
    boolean("tray", &SettingsValues::tray),
    boolean("recurse", &SettingsValues::recurse),
    boolean("bracketformat", &SettingsValues::bracketformat),
    boolean("dashformat", &SettingsValues::dashformat),
    boolean("trackformat", &SettingsValues::trackformat),
    boolean("customformat", &SettingsValues::customformat),
    withUnreadable(text("customstring", &SettingsValues::customstring), "-=-"),
    text("customdir", &SettingsValues::customdir),
    boolean("balanced", &SettingsValues::balanced),
    boolean("random", &SettingsValues::random),
    integer("lastdrive", &SettingsValues::lastdrive),
    text("lastdir", &SettingsValues::lastdir),
    writtenFrom(text("savem3u", &SettingsValues::savem3u), &SettingsValues::savedFolder),
    writtenFrom(text("loadm3u", &SettingsValues::loadm3u), &SettingsValues::loadedFolder),
    boolean("useassociations", &SettingsValues::useassociations),
    keptWhenAbsent(text("id3charset", &SettingsValues::id3charset)),
};

// The writing order differs from the reading order: the custom and track switches trade
// places, and the playlist folders, written only when chosen, come last.
constexpr const char* kWriteOrder[] = {
    "top",
    "left",
    "width",
    "height",
    "tray",
    "recurse",
    "bracketformat",
    "dashformat",
    "customformat",
    "trackformat",
    "customstring",
    "customdir",
    "balanced",
    "random",
    "lastdrive",
    "lastdir",
    "useassociations",
    "id3charset",
    "savem3u",
    "loadm3u",
};

static_assert(std::size(kWriteOrder) == std::size(kValues));

const Value& valueNamed(const char* name) {
    for (const Value& v : kValues) {
        if (std::string_view(v.name) == name)
            return v;
    }
    Q_UNREACHABLE();
}

template <typename... F> struct Overloaded : F... { using F::operator()...; };
// Spelled out for the tools (clang-tidy 14) that do not deduce an aggregate's arguments.
template <typename... F> Overloaded(F...) -> Overloaded<F...>;

void read(const SettingsStore& store, const Value& value, SettingsValues& values) {
    const QString name = QLatin1String(value.name);
    std::visit(Overloaded{
                   [&](int SettingsValues::*field) { readInteger(store, name, values.*field); },
                   [&](bool SettingsValues::*field) { readBoolean(store, name, values.*field); },
                   [&](QString SettingsValues::*field) {
                       if (value.absentKeeps && !store.value(name))
                           return;
                       if (!readText(store, name, values.*field) && value.unreadable)
                           values.*field = QLatin1String(value.unreadable);
                   },
               },
               value.field);
}

// Booleans are written as the numbers 0 and 1.
QVariant stored(const Value& value, const SettingsValues& values) {
    return std::visit(
        Overloaded{
            [&](int SettingsValues::*field) { return QVariant(values.*field); },
            [&](bool SettingsValues::*field) { return QVariant(values.*field ? 1 : 0); },
            [&](QString SettingsValues::*field) { return QVariant(values.*field); },
        },
        value.field);
}

} // namespace

std::vector<std::pair<QString, QVariant>> SettingsInReadingOrder(const SettingsValues& values) {
    std::vector<std::pair<QString, QVariant>> out;
    for (const Value& v : kValues)
        out.emplace_back(QLatin1String(v.name), stored(v, values));
    return out;
}

void ReadSettings(const SettingsStore& store, SettingsValues& values) {
    if (!store.exists())
        return;
    for (const Value& v : kValues)
        read(store, v, values);
}

bool WriteSettings(SettingsStore& store, const SettingsValues& values) {
    std::vector<std::pair<QString, QVariant>> out;
    for (const char* name : kWriteOrder) {
        const Value& v = valueNamed(name);
        if (!v.chosen)
            out.emplace_back(QLatin1String(v.name), stored(v, values));
        else if (const std::optional<QString>& folder = values.*v.chosen)
            out.emplace_back(QLatin1String(v.name), *folder);
    }
    return store.write(out);
}

QString ReadEnqueueCommand(const SettingsStore& store) {
    QString command;
    if (!readText(store, QStringLiteral("enqueuecommand"), command))
        command.clear();
    return command;
}

} // namespace lorvane
