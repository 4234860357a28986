// The portal's way against a stand-in that answers as the desktop's portal does: a
// request object, then its Response signal with the URI of a picture file.
#include "platform/ScreenCapturePortal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <unistd.h>

class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    FakePortal(QDBusConnection bus, uint code, QString picture)
        : m_bus(std::move(bus)), m_code(code), m_picture(std::move(picture)) {}

public slots:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options,
                               const QDBusMessage& message) {
        QString sender = message.service().mid(1);
        sender.replace(u'.', u'_');
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender +
                             u'/' + options.value(QStringLiteral("handle_token")).toString();
        interactive = options.value(QStringLiteral("interactive"), true).toBool();
        // The answer follows the reply, as the real portal's does.
        QTimer::singleShot(20, this, [this, path] {
            QDBusMessage signal = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            signal << m_code
                   << QVariantMap{
                          {QStringLiteral("uri"), QUrl::fromLocalFile(m_picture).toString()}};
            m_bus.send(signal);
        });
        return QDBusObjectPath(path);
    }

public:
    bool interactive = true;

private:
    QDBusConnection m_bus;
    uint m_code;
    QString m_picture;
};

class TestPortal : public QObject {
    Q_OBJECT
private slots:
    void capture_data();
    void capture();
};

void TestPortal::capture_data() {
    QTest::addColumn<bool>("portal");
    QTest::addColumn<uint>("code");
    QTest::addColumn<bool>("window");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("note");
    QTest::addColumn<QString>("named");

    const QString unread = QStringLiteral("could not be read");
    QTest::newRow("screen") << true << 0u << false << QString() << false << "";
    QTest::newRow("window: the whole screen, noted")
        << true << 0u << true << QString() << true << "";
    QTest::newRow("refused") << true << 1u << false << QStringLiteral("refused") << false << "";
    QTest::newRow("portal without Screenshot")
        << false << 0u << false << QStringLiteral("no screenshot portal") << false << "";
    // The answer names a file of the user's that is not the screenshot: it stays.
    QTest::newRow("an older file") << true << 0u << false << unread << false << "old";
    QTest::newRow("a link") << true << 0u << false << unread << false << "link";
    QTest::newRow("not a picture") << true << 0u << false << unread << false << "text";
    QTest::newRow("another user's") << true << 0u << false << unread << false << "stranger";
}

void TestPortal::capture() {
    QFETCH(bool, portal);
    QFETCH(uint, code);
    QFETCH(bool, window);
    QFETCH(QString, failure);
    QFETCH(bool, note);
    QFETCH(QString, named);
    if (named == "stranger" && ::geteuid() != 0)
        QSKIP("only root can leave a file of another user");

    QTemporaryDir dir;
    QString picture = dir.filePath(QStringLiteral("screen.png"));
    QImage screen(64, 48, QImage::Format_RGB32);
    screen.fill(Qt::blue);
    QVERIFY(screen.save(picture));
    if (named == "old") {
        QFile file(picture);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    } else if (named == "link") {
        QVERIFY(QFile::link(picture, dir.filePath("link.png")));
        picture = dir.filePath("link.png");
    } else if (named == "text") {
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
    } else if (named == "stranger") {
        QCOMPARE(::chown(QFile::encodeName(picture).constData(), 65534, 65534), 0);
    }

    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
    FakePortal fake(bus, code, picture);
    // The name is always taken, so no real portal is started for it; without the object
    // the portal is one that lacks the Screenshot interface.
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    if (portal) {
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &fake,
                                   QDBusConnection::ExportAllSlots));
    }

    ScreenCapturePortal capture;
    const QImage image =
        capture.capture(window ? CaptureKind::ActiveWindow : CaptureKind::WholeScreen);

    bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
    bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));

    QVERIFY2(capture.failure().contains(failure), qPrintable(capture.failure()));
    QCOMPARE(image.isNull(), !failure.isEmpty());
    if (failure.isEmpty()) {
        QCOMPARE(image.size(), QSize(64, 48));
        QCOMPARE(image.pixel(3, 3), QColor(Qt::blue).rgb());
        QVERIFY2(!QFile::exists(picture), "the picture file was left behind");
        QVERIFY(!fake.interactive);
    } else if (!named.isEmpty()) {
        QVERIFY2(QFile::exists(picture), "a file not the portal's was removed");
    }
    QCOMPARE(!capture.note().isEmpty(), note);
}

QTEST_GUILESS_MAIN(TestPortal)
#include "tst_platform_portal.moc"
