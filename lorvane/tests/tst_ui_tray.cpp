// The tray component's rules, and the main window's tray icon, tray menu, "Only Show in
// Tray" and ways out, against a task bar that records what it is asked.
#include "support/WindowRig.h"

#include "MainWindow.h"
#include "TTrayIcon.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

using namespace lorvane;

Q_DECLARE_METATYPE(QSystemTrayIcon::ActivationReason)

namespace {

QSystemTrayIcon* trayOf(const TTrayIcon& icon) {
    QSystemTrayIcon* tray = icon.findChild<QSystemTrayIcon*>();
    if (!tray)
        qFatal("the component has no tray icon");
    return tray;
}

// Counts the tray updates the component asks for.
class CountingTrayIcon : public TTrayIcon {
public:
    int modifies = 0;
    void ModifyIcon() override {
        ++modifies;
        TTrayIcon::ModifyIcon();
    }
};

// A named component of the main window.
template <typename T> T* part(const QObject* form, const char* name) {
    T* found = form->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no component %s", name);
    return found;
}
QAction* minToTray(const TForm1& form) {
    return part<QAction>(&form, "MinToTray");
}

QIcon picture(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// A main window over an empty data home with the recording task bar; shown only when
// the test says so.
struct Rig : windowtest::WindowRig {
    Rig() { withTaskbar = true; }

    TForm1& prepare(bool trayOnly = false) {
        if (trayOnly)
            settings.values.insert(QStringLiteral("tray"), 1);
        return create();
    }
    // Builds the window unless it is built already, and shows it.
    TForm1& show(bool trayOnly = false) {
        TForm1& f = form ? *form : prepare(trayOnly);
        f.show();
        if (!QTest::qWaitForWindowExposed(&f))
            qFatal("the window was not shown");
        if (!QTest::qWaitFor([&f] { return f.Tray().firstPaintDone(); }))
            qFatal("the window was not painted");
        return f;
    }
    bool skipped() const { return taskbar.isSkipped(form->windowHandle()); }
    qsizetype calls() const { return taskbar.calls.size(); }
    // Whether the task bar was told to skip the window since `since` calls.
    bool skippedSince(qsizetype since) const {
        for (qsizetype i = since; i < taskbar.calls.size(); ++i) {
            if (taskbar.calls[i].window == form->windowHandle() && taskbar.calls[i].skipped)
                return true;
        }
        return false;
    }
    bool minimise() {
        form->showMinimized();
        return QTest::qWaitFor([this] { return form->isMinimized(); });
    }
};

} // namespace

class TstTray : public QObject {
    Q_OBJECT

private slots:
    // ------------------------------------------------------------ the component

    void tipIsCut_data() {
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("shown");
        const QString a63(63, QLatin1Char('a'));
        const QString clef = QString::fromUcs4(U"\U0001D11E"); // two UTF-16 units
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("63 characters") << a63 << a63;
        QTest::newRow("64 characters") << a63 + QLatin1Char('b') << a63;
        QTest::newRow("70 characters") << a63 + QStringLiteral("bcdefgh") << a63;
        QTest::newRow("a last character outside the basic plane")
            << a63.left(62) + clef + QLatin1Char('b') << a63.left(62) + clef;
        QTest::newRow("such a character one too many") << a63 + clef << a63;
        QTest::newRow("63 of them") << clef.repeated(64) << clef.repeated(63);
    }
    void tipIsCut() {
        QFETCH(QString, tip);
        QFETCH(QString, shown);
        TTrayIcon icon;
        icon.setIcon(picture(Qt::red));
        icon.Loaded();
        icon.setTip(tip);
        QCOMPARE(icon.Tip(), shown);
        QCOMPARE(trayOf(icon)->toolTip(), shown);
    }

    void tipFollowsTheNameUntilSet() {
        TTrayIcon icon;
        icon.setIcon(picture(Qt::red));
        icon.Loaded();
        icon.setObjectName(QStringLiteral("Tray1"));
        QCOMPARE(icon.Tip(), QStringLiteral("Tray1"));
        QCOMPARE(trayOf(icon)->toolTip(), QStringLiteral("Tray1"));
        icon.setObjectName(QString(70, QLatin1Char('n')));
        QCOMPARE(icon.Tip(), QString(63, QLatin1Char('n')));
        icon.setTip(QStringLiteral("Lorvane"));
        icon.setObjectName(QStringLiteral("Other"));
        QCOMPARE(icon.Tip(), QStringLiteral("Lorvane"));
        // An empty tip is a tip set too.
        icon.setTip(QString());
        icon.setObjectName(QStringLiteral("Third"));
        QCOMPARE(trayOf(icon)->toolTip(), QString());
    }

    void activeNeedsAPicture_data() {
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<QStringList>("resources");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("active");
        const QStringList main{QStringLiteral("MAINICON")};
        QTest::newRow("a picture") << true << QStringList() << 0 << true;
        QTest::newRow("the program's icon resource") << false << main << 0 << true;
        QTest::newRow("the second resource") << false << (main + QStringList{"SPARE"}) << 1 << true;
        QTest::newRow("no such resource") << false << QStringList{"NOSUCH"} << 0 << false;
        QTest::newRow("an index past the list") << false << main << 1 << false;
        QTest::newRow("a negative index") << false << main << -1 << false;
        QTest::newRow("no resources") << false << QStringList() << 0 << false;
    }
    void activeNeedsAPicture() {
        QFETCH(bool, withPicture);
        QFETCH(QStringList, resources);
        QFETCH(int, index);
        QFETCH(bool, active);
        TTrayIcon icon;
        if (withPicture)
            icon.setIcon(picture(Qt::red));
        icon.setIconResources(resources);
        icon.setIconIndex(index);
        icon.Loaded();
        QCOMPARE(icon.Active(), active);
        QCOMPARE(trayOf(icon)->isVisible(), active);
        QCOMPARE(icon.iconInUse().isNull(), !active);
        if (active && !withPicture)
            QCOMPARE(icon.iconInUse().cacheKey(),
                     TTrayIcon::ResourceIcon(resources.at(index)).cacheKey());

        icon.setActive(false);
        QVERIFY(!icon.Active());
        QVERIFY(!trayOf(icon)->isVisible());
    }

    void aPictureComesOnlyWithActive() {
        TTrayIcon icon;
        icon.setIconResources({});
        icon.Loaded();
        QVERIFY(!icon.Active());
        // Reading inactive, the component does not pass a new picture on by itself...
        icon.setIcon(picture(Qt::blue));
        QVERIFY(!icon.Active());
        QVERIFY(!trayOf(icon)->isVisible());
        // ...but being asked for the icon again puts it into the tray.
        icon.setActive(true);
        QVERIFY(icon.Active());
        QVERIFY(trayOf(icon)->isVisible());
        QCOMPARE(icon.iconInUse().cacheKey(), icon.Icon().cacheKey());
        // Taking the picture away takes the icon out of the tray.
        icon.setIcon(QIcon());
        QVERIFY(!icon.Active());
        QVERIFY(!trayOf(icon)->isVisible());
    }

    void theTrayIsToldOnlyOfANewPicture_data() {
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("modifies");
        QTest::addColumn<QString>("inUse"); // resource in use after, "" for the picture/none
        QTest::newRow("the same resource again") << false << "MAINICON" << 0 << "MAINICON";
        QTest::newRow("another resource") << false << "SPARE" << 1 << "SPARE";
        QTest::newRow("a missing resource") << false << "NOSUCH" << 1 << "";
        QTest::newRow("another resource behind a picture") << true << "SPARE" << 0 << "";
    }
    void theTrayIsToldOnlyOfANewPicture() {
        QFETCH(bool, withPicture);
        QFETCH(QString, entry);
        QFETCH(int, modifies);
        QFETCH(QString, inUse);
        CountingTrayIcon icon;
        const QIcon own = picture(Qt::green);
        if (withPicture)
            icon.setIcon(own);
        icon.Loaded();
        icon.modifies = 0;
        icon.setIconResource(0, entry);
        QCOMPARE(icon.modifies, modifies);
        if (!inUse.isEmpty())
            QCOMPARE(icon.iconInUse().cacheKey(), TTrayIcon::ResourceIcon(inUse).cacheKey());
        else if (withPicture)
            QCOMPARE(icon.iconInUse().cacheKey(), own.cacheKey());
        else
            QVERIFY(!icon.Active());
    }

    void theIndexCountsOnlyWithoutAPicture() {
        CountingTrayIcon icon;
        icon.setIconResources({QStringLiteral("MAINICON"), QStringLiteral("SPARE")});
        icon.Loaded();
        icon.modifies = 0;
        icon.setIconIndex(0); // unchanged
        QCOMPARE(icon.modifies, 0);
        icon.setIconIndex(1);
        QCOMPARE(icon.modifies, 1);
        QCOMPARE(icon.iconInUse().cacheKey(), TTrayIcon::ResourceIcon("SPARE").cacheKey());
        icon.setIcon(picture(Qt::red));
        icon.modifies = 0;
        icon.setIconIndex(0);
        QCOMPARE(icon.modifies, 0);
        QCOMPARE(icon.iconInUse().cacheKey(), icon.Icon().cacheKey());
    }

    void mouseOnTheIcon_data() {
        QTest::addColumn<QList<QSystemTrayIcon::ActivationReason>>("events");
        QTest::addColumn<int>("simpel");
        QTest::addColumn<int>("defaults");
        QTest::addColumn<int>("showMenu");
        using R = QSystemTrayIcon::ActivationReason;
        QTest::newRow("left press") << QList<R>{QSystemTrayIcon::Trigger} << 1 << 0 << 0;
        // A double click brings its first press along.
        QTest::newRow("double click")
            << QList<R>{QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick} << 1 << 1 << 0;
        QTest::newRow("right press") << QList<R>{QSystemTrayIcon::Context} << 0 << 0 << 1;
        QTest::newRow("middle press") << QList<R>{QSystemTrayIcon::MiddleClick} << 0 << 0 << 0;
    }
    void mouseOnTheIcon() {
        QFETCH(QList<QSystemTrayIcon::ActivationReason>, events);
        QFETCH(int, simpel);
        QFETCH(int, defaults);
        QFETCH(int, showMenu);
        TTrayIcon icon;
        QMenu menu;
        menu.addAction(QStringLiteral("&Open"));
        icon.setPopupMenu(&menu);
        icon.Loaded();
        QSignalSpy simpelSpy(&icon, &TTrayIcon::SimpelFunction);
        QSignalSpy defaultSpy(&icon, &TTrayIcon::DefaultFunction);
        bool menuOpenAtShowMenu = false;
        int showMenuCount = 0;
        connect(&icon, &TTrayIcon::ShowMenu, this, [&] {
            ++showMenuCount;
            menuOpenAtShowMenu = menu.isVisible();
        });
        for (QSystemTrayIcon::ActivationReason reason : events)
            emit trayOf(icon)->activated(reason);
        QCOMPARE(simpelSpy.size(), simpel);
        QCOMPARE(defaultSpy.size(), defaults);
        QCOMPARE(showMenuCount, showMenu);
        QVERIFY(!menuOpenAtShowMenu);
        QCOMPARE(menu.isVisible(), showMenu > 0);
        menu.hide();
    }

    void aDestroyedMenuIsDropped() {
        TTrayIcon icon;
        auto* menu = new QMenu;
        icon.setPopupMenu(menu);
        delete menu;
        QCOMPARE(icon.PopupMenu(), nullptr);
        QSignalSpy showMenu(&icon, &TTrayIcon::ShowMenu);
        emit trayOf(icon)->activated(QSystemTrayIcon::Context);
        QCOMPARE(showMenu.size(), 1);
    }

    // ------------------------------------------------------------ the main window

    void theWindowsTrayIcon() {
        Rig rig;
        TForm1& form = rig.show();
        QVERIFY(form.Tray().Tray1()->Active());
        QVERIFY(trayOf(*form.Tray().Tray1())->isVisible());
        QCOMPARE(form.Tray().Tray1()->Tip(), QStringLiteral("Lorvane"));
        QCOMPARE(form.Tray().Tray1()->iconInUse().cacheKey(), form.windowIcon().cacheKey());
        QCOMPARE(form.windowIcon().pixmap(32, 32).size(), QSize(32, 32));
        QCOMPARE(form.Tray().Tray1()->PopupMenu(), form.Tray().TrayMenu());
        QStringList items;
        for (const QAction* a : form.Tray().TrayMenu()->actions())
            items << a->text();
        QCOMPARE(items, QStringList({"&Open", "E&xit"}));
        // The option is off: the task-bar entry is left alone.
        QCOMPARE(rig.calls(), 0);
    }

    void trayOnlyInEveryWindowState() {
        Rig rig;
        QVERIFY(!rig.prepare(true).Tray().firstPaintDone());
        QCOMPARE(rig.calls(), 0);
        TForm1& form = rig.show();
        QVERIFY(minToTray(form)->isChecked());
        QVERIFY(rig.skipped());

        qsizetype before = rig.calls();
        QVERIFY(rig.minimise());
        QVERIFY(rig.skippedSince(before));

        before = rig.calls();
        emit trayOf(*form.Tray().Tray1())->activated(QSystemTrayIcon::Trigger);
        QVERIFY(!form.isMinimized());
        QVERIFY(rig.skippedSince(before));

        // Switched off: the entry is back, and minimising and restoring leave it there.
        minToTray(form)->trigger();
        QVERIFY(!minToTray(form)->isChecked());
        QVERIFY(!rig.skipped());
        before = rig.calls();
        QVERIFY(rig.minimise());
        form.Tray().Open1()->trigger();
        QVERIFY(!form.isMinimized());
        QCOMPARE(rig.calls(), before);

        // Switched on again: gone at once.
        minToTray(form)->trigger();
        QVERIFY(minToTray(form)->isChecked());
        QVERIFY(rig.skipped());
    }

    void waysBackFromTheTray_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("left press") << 0;
        QTest::newRow("double click") << 1;
        QTest::newRow("Open") << 2;
        QTest::newRow("a second start") << 3;
    }
    void waysBackFromTheTray() {
        QFETCH(int, way);
        Rig rig;
        TForm1& form = rig.show(true);
        QVERIFY(rig.minimise());
        const qsizetype before = rig.calls();
        QSystemTrayIcon* tray = trayOf(*form.Tray().Tray1());
        switch (way) {
        case 0:
            emit tray->activated(QSystemTrayIcon::Trigger);
            break;
        case 1:
            emit tray->activated(QSystemTrayIcon::Trigger);
            emit tray->activated(QSystemTrayIcon::DoubleClick);
            break;
        case 2:
            form.Tray().Open1()->trigger();
            break;
        default:
            form.PopupFromMessage();
        }
        QVERIFY(!form.isMinimized());
        QVERIFY(form.isVisible());
        QVERIFY(rig.skippedSince(before));
    }

    void everyWayOutWritesTheSettingsAndTakesTheIcon_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("close box") << 0;
        QTest::newRow("Exit") << 1;
        QTest::newRow("tray Exit") << 2;
        QTest::newRow("Esc") << 3;
    }
    void everyWayOutWritesTheSettingsAndTakesTheIcon() {
        QFETCH(int, way);
        Rig rig;
        TForm1& form = rig.show(true);
        switch (way) {
        case 0:
            form.close();
            break;
        case 1:
            part<QAction>(&form, "ExitClick")->trigger();
            break;
        case 2:
            form.Tray().ExitTray()->trigger();
            break;
        default:
            QTest::keyClick(part<QLineEdit>(&form, "FindEdit"), Qt::Key_Escape);
        }
        QVERIFY(!form.isVisible());
        QCOMPARE(rig.settings.writes, 1);
        QCOMPARE(rig.settings.values.value("tray").toInt(), 1);
        QVERIFY(!form.Tray().Tray1()->Active());
        QVERIFY(!trayOf(*form.Tray().Tray1())->isVisible());
    }
};

QTEST_MAIN(TstTray)
#include "tst_ui_tray.moc"
