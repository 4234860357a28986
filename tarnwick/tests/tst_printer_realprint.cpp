// Real prints: the pipeline drives Qt's printer writing a PDF file, which
// pdftoppm turns back into an image to look at.
#include "fakes/FakeClipboard.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakePrintForms.h"
#include "fakes/FakeScreenInfo.h"
#include "fakes/FakeSettingsStore.h"
#include "printer/PdfFilePrintSystem.h"
#include "printing/PrintPipeline.h"
#include "printing/PrintSettings.h"

#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kRenderDpi = 30;

QImage render(const QString& pdf) {
    const QString prefix = pdf + QStringLiteral(".page");
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QString::number(kRenderDpi), QStringLiteral("-png"),
                    QStringLiteral("-singlefile"), pdf, prefix});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool isWhite(QRgb c) {
    return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240;
}

// The box around everything on the page that is not white.
QRect inkBox(const QImage& page) {
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (!isWhite(page.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QImage filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct PdfRig {
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    FakeSettingsStore store;
    FakeScreenInfo screen{1024, 768};
    FakeClipboard clipboard;
    PdfFilePrintSystem printers{pdf, QPageSize(QPageSize::A4)};
    FakeMessageBoxes messages;
    FakeEventPump events;
    FakePrintForms forms;
    PrintSettings settings;
    qint16 promptChoice = -1;
    PrintPipeline pipeline{
        {store, screen, clipboard, printers, messages, events, forms}, settings, promptChoice};

    void set(const char* key, int value) { store.set(QLatin1String(key), QString::number(value)); }

    QImage print(const QImage& image) {
        clipboard.setImage(image);
        if (pipeline.tick(true, true) != TickResult::Printed) {
            qWarning() << "print failed:" << messages.texts;
            return {};
        }
        return render(pdf);
    }
};

} // namespace

class TestRealPrint : public QObject {
    Q_OBJECT

private slots:
    void orientation_data() {
        QTest::addColumn<int>("orientation");
        QTest::newRow("portrait") << 1;
        QTest::newRow("landscape") << 2;
    }
    void orientation() {
        QFETCH(int, orientation);
        PdfRig rig;
        rig.set("PrintOrientation", orientation);
        const QImage page = rig.print(filled(QSize(200, 150), Qt::blue));
        QVERIFY(!page.isNull());
        // A4 at 30 DPI: about 248 x 351 pixels.
        if (orientation == 2)
            QVERIFY2(page.width() > page.height(), qPrintable(QString::number(page.width())));
        else
            QVERIFY2(page.height() > page.width(), qPrintable(QString::number(page.width())));
        // Fitted: the image touches the page in the limiting direction.
        const QRect ink = inkBox(page);
        QVERIFY(ink.left() <= 1 && ink.top() <= 1);
        if (orientation == 2)
            QVERIFY(ink.bottom() >= page.height() - 2);
        else
            QVERIFY(ink.right() >= page.width() - 2);
    }

    void colours_data() {
        QTest::addColumn<QColor>("screen");
        QTest::addColumn<int>("negative");
        QTest::addColumn<int>("grey");
        QTest::addColumn<QString>("expect");
        QTest::newRow("white prints black when negative") << QColor(Qt::white) << 1 << 0 << "black";
        QTest::newRow("black prints white when negative") << QColor(Qt::black) << 1 << 0 << "white";
        QTest::newRow("red stays red in colour") << QColor(Qt::red) << 0 << 0 << "red";
        QTest::newRow("red prints grey in greyscale") << QColor(Qt::red) << 0 << 1 << "grey";
        QTest::newRow("negative and greyscale") << QColor(0, 255, 255) << 1 << 1 << "grey";
    }
    void colours() {
        QFETCH(QColor, screen);
        QFETCH(int, negative);
        QFETCH(int, grey);
        QFETCH(QString, expect);
        PdfRig rig;
        rig.set("PrintOrientation", 1);
        rig.set("PrintNegative", negative);
        rig.set("GreyScale", grey);
        const QImage page = rig.print(filled(QSize(400, 300), screen));
        QVERIFY(!page.isNull());
        // The page is 210 mm wide, the image fills the width and 3/4 of it in height.
        const QRgb c = page.pixel(page.width() / 2, page.width() * 3 / 8);
        const QString seen =
            QStringLiteral("rgb %1 %2 %3").arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
        if (expect == QLatin1String("black")) {
            QVERIFY2(qRed(c) < 20 && qGreen(c) < 20 && qBlue(c) < 20, qPrintable(seen));
        } else if (expect == QLatin1String("white")) {
            QVERIFY2(isWhite(c), qPrintable(seen));
        } else if (expect == QLatin1String("red")) {
            QVERIFY2(qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60, qPrintable(seen));
        } else {
            QVERIFY2(qAbs(qRed(c) - qGreen(c)) < 8 && qAbs(qGreen(c) - qBlue(c)) < 8 &&
                         !isWhite(c) && qRed(c) > 20,
                     qPrintable(seen));
        }
        // Below the image the page stays white.
        QVERIFY(isWhite(page.pixel(page.width() / 2, page.height() - 3)));
    }

    void proportionsKept_data() {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<int>("orientation");
        QTest::newRow("flat on portrait") << QSize(800, 200) << 1;
        QTest::newRow("tall on landscape") << QSize(150, 600) << 2;
        QTest::newRow("screen on landscape") << QSize(1024, 768) << 2;
    }
    void proportionsKept() {
        QFETCH(QSize, image);
        QFETCH(int, orientation);
        PdfRig rig;
        rig.set("PrintOrientation", orientation);
        const QImage page = rig.print(filled(image, Qt::darkGreen));
        QVERIFY(!page.isNull());
        const QRect ink = inkBox(page);
        const double printed = double(ink.width()) / ink.height();
        const double wanted = double(image.width()) / image.height();
        QVERIFY2(qAbs(printed / wanted - 1.0) < 0.03,
                 qPrintable(QStringLiteral("printed %1 x %2").arg(ink.width()).arg(ink.height())));
    }

    // The defined area is cut from the image: only its colour reaches the page.
    void definedAreaOnly() {
        PdfRig rig;
        rig.set("PrintOrientation", 2);
        rig.set("PrintSpecific", 1);
        rig.set("X_Coord", 200);
        rig.set("Y_Coord", 0);
        rig.set("W_Coord", 200);
        rig.set("H_Coord", 100);
        QImage image = filled(QSize(400, 100), Qt::red);
        QPainter(&image).fillRect(200, 0, 200, 100, Qt::blue);
        const QImage page = rig.print(image);
        QVERIFY(!page.isNull());
        const QRect ink = inkBox(page);
        // Landscape A4, a 2:1 area: the width limits, half the page height is used.
        QVERIFY(ink.width() >= page.width() - 3);
        QVERIFY(qAbs(ink.height() - page.width() / 2) <= 3);
        int red = 0;
        for (int x = ink.left() + 2; x < ink.right() - 2; ++x) {
            const QRgb c = page.pixel(x, ink.center().y());
            if (qRed(c) > 128 && qBlue(c) < 128)
                ++red;
        }
        QCOMPARE(red, 0);
    }
};

QTEST_MAIN(TestRealPrint)
#include "tst_printer_realprint.moc"
