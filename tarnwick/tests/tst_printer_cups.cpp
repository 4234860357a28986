// Prints through a real CUPS server: the default queue TESTPDF writes out.pdf,
// the second queue TESTPDF2 writes out2.pdf.
#include "fakes/FakeClipboard.h"
#include "fakes/FakeEventPump.h"
#include "fakes/FakeMessageBoxes.h"
#include "fakes/FakePrintForms.h"
#include "fakes/FakeScreenInfo.h"
#include "fakes/FakeSettingsStore.h"
#include "printer/CupsPrintSystem.h"
#include "printing/PrintPipeline.h"
#include "printing/PrintSettings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace {

// The scheduler's admin tools live in sbin, which an ordinary user's PATH lacks.
QString adminTool(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : found;
}

QString outFile(const char* name) {
    return qEnvironmentVariable("SERVICE_RUN_DIR") + QStringLiteral("/cups-out/") +
           QLatin1String(name);
}

// CUPS runs the job through its filters on its own time: wait for a whole file.
bool waitForPdf(const QString& path) {
    QElapsedTimer clock;
    clock.start();
    qint64 lastSize = -1;
    while (clock.elapsed() < 45000) {
        const QFileInfo info(path);
        if (info.exists() && info.size() > 0 && info.size() == lastSize) {
            QFile file(path);
            // The PDF queue wraps its output in a printer-language header.
            if (file.open(QIODevice::ReadOnly) && file.read(4096).contains("%PDF-"))
                return true;
        }
        lastSize = info.exists() ? info.size() : -1;
        QThread::msleep(300);
    }
    return false;
}

struct RenderedPage {
    QSize sheet;
    QRect ink; // everything that is not white
};

RenderedPage render(const QString& pdf) {
    QProcess pdftoppm;
    const QString prefix = pdf + QStringLiteral(".page");
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"),
                    QStringLiteral("-singlefile"), pdf, prefix});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    const QImage page =
        QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    RenderedPage rendered{page.size(), {}};
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (qGray(page.pixel(x, y)) < 200)
                rendered.ink |= QRect(x, y, 1, 1);
        }
    }
    return rendered;
}

// A small page on the printer, sent.
bool sendSmallPage(Printer& printer) {
    return printer.drawImage(QImage(8, 8, QImage::Format_RGB32), QRectF(0, 0, 8, 8),
                             QRectF(0, 0, 1440, 1440), RasterOp::SrcCopy) &&
           printer.endDoc();
}

} // namespace

class TestCups : public QObject {
    Q_OBJECT

    FakeSettingsStore m_store;
    FakeScreenInfo m_screen{1024, 768};
    FakeClipboard m_clipboard;
    CupsPrintSystem m_printers;
    FakeMessageBoxes m_messages;
    FakeEventPump m_events;
    FakePrintForms m_forms;
    PrintSettings m_settings;
    qint16 m_choice = -1;

    TickResult print(const QString& device, int orientation) {
        m_store.set(QStringLiteral("PrintDevice"), device);
        m_store.set(QStringLiteral("PrintOrientation"), QString::number(orientation));
        PrintPipeline pipeline(
            {m_store, m_screen, m_clipboard, m_printers, m_messages, m_events, m_forms}, m_settings,
            m_choice);
        return pipeline.tick(true, true);
    }

private slots:
    void initTestCase() {
        QImage screen(640, 480, QImage::Format_RGB32);
        screen.fill(Qt::darkBlue);
        m_clipboard.setImage(screen);
    }

    void init() {
        QFile::remove(outFile("out.pdf"));
        QFile::remove(outFile("out2.pdf"));
        m_messages.texts.clear();
        m_forms.progress.clear();
    }

    void queuesAreListed() {
        QStringList names;
        for (const PrinterIdentity& printer : m_printers.installedPrinters())
            names.append(printer.deviceName);
        QVERIFY2(names.contains(QStringLiteral("TESTPDF")), qPrintable(names.join(u',')));
        QVERIFY(names.contains(QStringLiteral("TESTPDF2")));
        QCOMPARE(m_printers.defaultPrinterName(), QStringLiteral("TESTPDF"));
    }

    void defaultPrinterTakesTheJob_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("orientation");
        QTest::newRow("system default, landscape") << kSystemDefault << 2;
        QTest::newRow("system printer, portrait") << kSystemPrinter << 1;
    }
    void defaultPrinterTakesTheJob() {
        QFETCH(QString, device);
        QFETCH(int, orientation);
        QCOMPARE(print(device, orientation), TickResult::Printed);
        QCOMPARE(m_forms.progress, QStringList{QStringLiteral("TESTPDF")});
        QVERIFY(waitForPdf(outFile("out.pdf")));
        // Qt turns landscape content on a portrait sheet: what tells the orientation
        // is whether the wide screen image runs along the sheet's long side.
        const RenderedPage page = render(outFile("out.pdf"));
        QVERIFY(page.sheet.isValid() && page.ink.isValid());
        const bool alongLongSide =
            (page.ink.width() > page.ink.height()) == (page.sheet.width() > page.sheet.height());
        QCOMPARE(alongLongSide, orientation == 2);
        QVERIFY(!QFile::exists(outFile("out2.pdf")));
    }

    void namedPrinterTakesThisJobOnly() {
        QCOMPARE(print(QStringLiteral("TESTPDF2"), 2), TickResult::Printed);
        QCOMPARE(m_forms.progress, QStringList{QStringLiteral("TESTPDF2")});
        QVERIFY(m_messages.texts.isEmpty());
        QVERIFY(waitForPdf(outFile("out2.pdf")));
        // The system's default printer was never touched.
        QCOMPARE(QPrinterInfo::defaultPrinterName(), QStringLiteral("TESTPDF"));
        QVERIFY(!QFile::exists(outFile("out.pdf")));
    }

    // The scheduler's state as a print asks for it when it finds no printer.
    void schedulerStateIsSeen() {
        QVERIFY(m_printers.running());
        const QByteArray server = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", server + ".stopped");
        const bool runningWithoutServer = m_printers.running();
        qputenv("CUPS_SERVER", server);
        QVERIFY(!runningWithoutServer);
    }

    // The queue is asked before the page is made, and lp's answer after it is sent.
    void aRejectingQueuePrintsNothing() {
        const QString queue = QStringLiteral("TWKREJECT%1").arg(QCoreApplication::applicationPid());
        const QString server = qEnvironmentVariable("CUPS_SERVER");
        QCOMPARE(QProcess::execute(adminTool("lpadmin"), {"-h", server, "-p", queue, "-E", "-v",
                                                          "file:///dev/null", "-m", "raw"}),
                 0);
        QCOMPARE(QProcess::execute(adminTool("cupsreject"), {"-h", server, queue}), 0);
        const TickResult result = print(queue, 2);
        std::unique_ptr<Printer> printer = m_printers.openPrinter(queue);
        const bool sent = printer && sendSmallPage(*printer);
        QProcess::execute(adminTool("lpadmin"), {"-h", server, "-x", queue});

        QCOMPARE(result, TickResult::Failed);
        QCOMPARE(m_messages.texts, QStringList{"The printer " + queue +
                                               " is not accepting jobs. Nothing was printed."});
        QVERIFY(printer && !sent);
        QCOMPARE(printer->jobAnswer(), QueueAnswer::Rejecting);
    }

    // A stopped scheduler still takes connections and never answers: a socket that
    // does the same stands for it. The wait is bounded and events go on meanwhile.
    void aSilentSchedulerIsNotWaitedForLong() {
        QTemporaryDir dir;
        QLocalServer silent;
        QVERIFY(silent.listen(dir.filePath("silent.sock")));
        std::unique_ptr<Printer> printer = m_printers.openPrinter(QStringLiteral("TESTPDF"));
        QVERIFY(printer);
        int ticks = 0;
        QTimer events;
        connect(&events, &QTimer::timeout, this, [&] { ++ticks; });
        events.start(100);
        const QByteArray server = qgetenv("CUPS_SERVER");
        qputenv("CUPS_SERVER", QFile::encodeName(silent.fullServerName()));
        const QueueAnswer asked = m_printers.queueAnswer(QString());
        const bool sent = sendSmallPage(*printer);
        // Meanwhile the dialog's list asks nothing of the silent scheduler.
        const bool listed = !m_printers.installedPrinters().isEmpty();
        qputenv("CUPS_SERVER", server);
        QVERIFY(!listed);

        QCOMPARE(asked, QueueAnswer::Silent);
        QVERIFY(!sent);
        QCOMPARE(printer->jobAnswer(), QueueAnswer::Silent);
        QVERIFY(ticks > 0);
        QVERIFY(!QFile::exists(outFile("out.pdf")));
    }

    void removedPrinterFallsBackToDefault() {
        QCOMPARE(print(QStringLiteral("GONE"), 2), TickResult::Printed);
        QCOMPARE(m_messages.texts,
                 QStringList{QStringLiteral(
                     "Printer GONENo Longer Exists. Using System Default Printer.")});
        QCOMPARE(m_forms.progress, QStringList{QStringLiteral("TESTPDF")});
        QVERIFY(waitForPdf(outFile("out.pdf")));
    }
};

QTEST_MAIN(TestCups)
#include "tst_printer_cups.moc"
