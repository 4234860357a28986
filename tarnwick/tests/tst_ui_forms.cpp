#include "AboutBox.h"
#include "DesignUnits.h"
#include "DisabledNotice.h"
#include "HelpWindow.h"
#include "PipelineForms.h"
#include "PrintPrompt.h"
#include "QtMessageBoxes.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakePrintSystem.h"
#include "fakes/FakeScreenInfo.h"
#include "fakes/FakeSettingsStore.h"
#include "platform/QtEventPump.h"
#include "printing/PrintPipeline.h"
#include "printing/PrintSettings.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>

namespace {

template <typename T> T* child(QWidget* form, const char* name) {
    T* widget = form->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

QByteArray macrons(int n) {
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += "\xC2\xAF";
    return bytes;
}

// Every caption of the form shows whole in the desktop's font.
void verifyCaptionsFit(QWidget* form) {
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                     label->contentsRect().width(),
                 qPrintable(label->text()));
    }
    for (const QPushButton* button : form->findChildren<QPushButton*>()) {
        const QString text = QString(button->text()).remove(u'&');
        QVERIFY2(button->fontMetrics().horizontalAdvance(text) <= button->width() - 4,
                 qPrintable(text));
    }
}

bool writeScript(const QString& path, const QString& record) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\necho \"$@\" > '" + record.toUtf8() + "'\n");
    file.close();
    return file.setPermissions(file.permissions() | QFile::ExeOwner);
}

} // namespace

class TestForms : public QObject {
    Q_OBJECT

private slots:
    void promptLoad_data() {
        QTest::addColumn<int>("prompt");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("printer");
        QTest::newRow("prompt on")
            << 1 << "<System Default>" << 107 << "Select Option for Printing."
            << "<System Default> Selected for Output.";
        QTest::newRow("prompt off") << 0 << "Office" << 67 << "Now Printing, Please Wait...."
                                    << "Office Selected for Output.";
        QTest::newRow("flag tested for nonzero")
            << 2 << "<System Printer>" << 107 << "Select Option for Printing."
            << "<System Printer> Selected for Output.";
        // Too long for the label: its middle gives way, the whole name is the tip.
        QTest::newRow("long queue name") << 1 << "Colour_Laser_MFP_Office_2nd_Floor_Room_214" << 107
                                         << "Select Option for Printing."
                                         << "";
    }
    void promptLoad() {
        QFETCH(int, prompt);
        QFETCH(QString, device);
        QFETCH(int, height);
        QFETCH(QString, label);
        QFETCH(QString, printer);
        PrintSettings settings;
        settings.PrintPrompt = qint16(prompt);
        settings.PrintDevice = device;
        qint16 choice = -1;
        Twk03 form(settings, choice);
        // The design's size, or larger where the desktop's font needs the room.
        QVERIFY(form.height() >= height);
        QVERIFY(form.width() >= DesignPixels(4500));
        verifyCaptionsFit(&form);
        QCOMPARE(child<QLabel>(&form, "Label1")->text(), label);
        const QLabel* st_printer = child<QLabel>(&form, "st_printer");
        QCOMPARE(st_printer->toolTip(), printer.isEmpty() ? device : QString());
        if (!printer.isEmpty())
            QCOMPARE(st_printer->text(), printer);
        // The buttons are inside the window only when asking.
        for (const char* name : {"cb_option_0", "cb_option_1", "cb_option_2"}) {
            const QRect button = child<QPushButton>(&form, name)->geometry();
            QCOMPARE(form.rect().contains(button), prompt != 0);
        }
        QCOMPARE(form.windowFlags() & Qt::WindowTitleHint, Qt::WindowFlags());
    }

    void promptButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("choice");
        QTest::newRow("Defined Area") << "cb_option_0" << 0;
        QTest::newRow("Full Screen") << "cb_option_1" << 1;
        QTest::newRow("Cancel") << "cb_option_2" << 2;
    }
    void promptButtons() {
        QFETCH(QString, button);
        QFETCH(int, choice);
        PrintSettings settings;
        settings.PrintPrompt = 1;
        qint16 answer = -1;
        Twk03 form(settings, answer);
        form.show();
        QTest::mouseClick(child<QPushButton>(&form, button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(answer, qint16(choice));
        // A click answers and changes nothing else.
        QVERIFY(form.isVisible());
        QCOMPARE(child<QLabel>(&form, "Label1")->text(),
                 QStringLiteral("Select Option for Printing."));
    }

    void promptKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("choice");
        QTest::newRow("Esc chooses nothing") << int(Qt::Key_Escape) << 0 << -1;
        QTest::newRow("Enter on the first button") << int(Qt::Key_Return) << 0 << 0;
        QTest::newRow("space on the first button") << int(Qt::Key_Space) << 0 << 0;
        QTest::newRow("Alt+F") << int(Qt::Key_F) << int(Qt::AltModifier) << 1;
        QTest::newRow("Alt+C") << int(Qt::Key_C) << int(Qt::AltModifier) << 2;
    }
    void promptKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, choice);
        PrintSettings settings;
        settings.PrintPrompt = 1;
        qint16 answer = -1;
        Twk03 form(settings, answer);
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(&form, "cb_option_0"));
        // Through the window, as the system delivers keys, so access keys work too.
        QTest::keyClick(form.windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // An access key presses its button with a short animation.
        QTRY_COMPARE(answer, qint16(choice));
        QTest::qWait(300);
        QCOMPARE(answer, qint16(choice));
        QVERIFY(form.isVisible());
    }

    void promptProgress() {
        PrintSettings settings;
        settings.PrintPrompt = 1;
        settings.PrintDevice = kSystemDefault;
        qint16 answer = -1;
        Twk03 form(settings, answer);
        form.show();
        form.showProgress(QStringLiteral("Office"));
        QCOMPARE(child<QLabel>(&form, "Label1")->text(),
                 QStringLiteral("Now Printing, Please Wait...."));
        QCOMPARE(child<QLabel>(&form, "st_printer")->text(),
                 QStringLiteral("Writing output to Office"));
    }

    void noticeClosesItself() {
        Twk04 notice;
        notice.show();
        QCOMPARE(child<QLabel>(&notice, "Label1")->text(),
                 QStringLiteral("Tarnwick32 Disabled..."));
        QCOMPARE(child<QLabel>(&notice, "Label2")->text(),
                 QStringLiteral("Right Mouse Click Icon in System Tray to enable."));
        QVERIFY(notice.width() >= DesignPixels(4680));
        QVERIFY(notice.height() >= DesignPixels(915));
        verifyCaptionsFit(&notice);
        QVERIFY(notice.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!notice.isVisible(), 10000);
    }

    void aboutScrolls() {
        QTemporaryDir none;
        Twk05 about(nullptr, PreviewHack{{none.path()}, QStringLiteral("galaxy")});
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tarnwick32"));
        QWidget* caption = child<QTextEdit>(&about, "tb_caption");
        QCOMPARE(about.captionTop(), 1400);
        QCOMPARE(caption->y(), DesignPixels(1400));
        // Four ticks count, the fifth moves 15 twips and starts the count again.
        for (int i = 0; i < 4; ++i)
            about.Timer1_Timer();
        QCOMPARE(about.captionTop(), 1400);
        QCOMPARE(about.scrollTick(), qint16(4));
        about.Timer1_Timer();
        QCOMPARE(about.captionTop(), 1385);
        QCOMPARE(about.scrollTick(), qint16(0));
        QCOMPARE(caption->y(), DesignPixels(1385));
        // 240 moves reach -2200, which is not yet below it; the next move wraps.
        for (int i = 0; i < 239 * 5; ++i)
            about.Timer1_Timer();
        QCOMPARE(about.captionTop(), -2200);
        for (int i = 0; i < 5; ++i)
            about.Timer1_Timer();
        QCOMPARE(about.captionTop(), 1400);
        QCOMPARE(caption->y(), DesignPixels(1400));
        QVERIFY(about.previewProgram().isEmpty());
    }

    void aboutStartsPreview() {
        QTemporaryDir first, second;
        const QString record = second.filePath(QStringLiteral("args"));
        QVERIFY(writeScript(first.filePath(QStringLiteral("galaxy")), record + u'1'));
        QVERIFY(writeScript(second.filePath(QStringLiteral("galaxy")), record));
        Twk05 about(nullptr, PreviewHack{{first.path(), second.path()}, QStringLiteral("galaxy")});
        // The later folder wins when both hold the hack.
        QCOMPARE(about.previewProgram(), second.filePath(QStringLiteral("galaxy")));
        const QString windowId = QString::number(child<QWidget>(&about, "p_stars")->winId());
        QCOMPARE(about.previewArguments(), (QStringList{QStringLiteral("-window-id"), windowId}));
        const auto recorded = [&record] {
            QFile file(record);
            return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), (QStringLiteral("-window-id ") + windowId).toUtf8(),
                                  10000);
        QVERIFY(!QFile::exists(record + u'1'));
    }

    void helpTextByteForByte() {
        const QList<QByteArray> lines = {
            "",
            "THANK YOU FOR USING TARNWICK 32",
            macrons(31),
            "",
            "1. PRINTING THE SCREEN",
            "   " + macrons(19),
            "   To Print the Full Screen",
            "   " + macrons(24),
            "   Hit the 'Print Scrn' key on your keyboard.",
            "",
            "   To Print the Active Window",
            "   " + macrons(26),
            "   Hold down the 'Alt' key and hit the 'Print Scrn' key on",
            "   your keyboard.",
            "",
            "",
            "2. CONFIGURATION OPTIONS",
            "   " + macrons(21),
            "   Print Negative Image",
            "   " + macrons(20),
            "   By selecting this option, the image produced on printed",
            "   sheet will be an inverse of the original screen image. ",
            "",
            "   Print Greyscale Image",
            "   " + macrons(21),
            "   By selecting this option, the image produced on the    ",
            "   printed sheet will be in black & white when printing to",
            "   a colour printer.                                      ",
            "3. COMMANDS",
            "   " + macrons(8),
            "   tarnwick --print         prints the full screen",
            "   tarnwick --print-window  prints the active window",
            "   tarnwick --configure     opens the configuration",
            "   tarnwick --quit          ends Tarnwick 32",
            "   More, and exit statuses: tarnwick --help, man tarnwick",
        };
        QCOMPARE(lines.size(), 35);
        QByteArray expected;
        for (const QByteArray& line : lines)
            expected += line + "\r\n";
        QCOMPARE(Twk07::HelpText().toUtf8(), expected);
    }

    void helpWindow() {
        Twk07 help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Tarnwick32 - Help"));
        auto* box = child<QPlainTextEdit>(&help, "tb_help");
        QString shown = Twk07::HelpText();
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(box->toPlainText(), shown);
        QVERIFY(!box->isReadOnly());
        // Underlines line up with their words only when every character is as wide as
        // the macron, and only while no line wraps.
        const QFontMetrics metrics(box->font());
        const QString heading = QStringLiteral("THANK YOU FOR USING TARNWICK 32");
        QCOMPARE(metrics.horizontalAdvance(heading),
                 metrics.horizontalAdvance(QString(heading.size(), QChar(0x00AF))));
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
            QCOMPARE(block.layout()->lineCount(), 1);
        QCOMPARE(child<QPushButton>(&help, "cb_close")->text(), QStringLiteral("C&lose"));
    }

    void pipelineFormsAreSingleWindows() {
        PipelineForms forms;
        PrintSettings settings;
        settings.PrintPrompt = 1;
        qint16 choice = -1;
        forms.openPrompt(settings, choice);
        QVERIFY(forms.promptOpen());
        QPointer<Twk03> first = forms.prompt();
        // A second print loads the prompt anew.
        forms.openPrompt(settings, choice);
        QVERIFY(forms.promptOpen());
        QVERIFY(forms.prompt() != first.data());
        QTRY_VERIFY(first.isNull());
        // Closed by anyone, the prompt counts as gone.
        forms.prompt()->close();
        QVERIFY(!forms.promptOpen());
        forms.closePrompt();

        forms.showDisabledNotice();
        Twk04* notice = forms.notice();
        QVERIFY(notice && notice->isVisible());
        forms.showDisabledNotice();
        QCOMPARE(forms.notice(), notice);
        QTRY_VERIFY_WITH_TIMEOUT(forms.notice() == nullptr, 10000);
    }

    // The real wait: the prompt's buttons are reached through the event loop the
    // pipeline keeps turning, and a timer tick meanwhile starts nothing.
    void pipelineWaitsForTheRealPrompt_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<TickResult>("result");
        QTest::addColumn<QString>("device");
        QTest::newRow("Full Screen") << "cb_option_1" << TickResult::Printed << "";
        QTest::newRow("Cancel") << "cb_option_2" << TickResult::Cancelled << "";
        QTest::newRow("window closed") << "close" << TickResult::Cancelled << "";
        // The notice stays above other windows: the message box comes up without it in
        // the way, Enter closes the box and the print goes on.
        QTest::newRow("removed printer's message closed with Enter")
            << "cb_option_1" << TickResult::Printed << "Gone";
    }
    void pipelineWaitsForTheRealPrompt() {
        QFETCH(QString, action);
        QFETCH(TickResult, result);
        QFETCH(QString, device);
        FakeSettingsStore store;
        if (!device.isEmpty())
            store.set(QStringLiteral("PrintDevice"), device);
        store.set(QStringLiteral("PrintPrompt"), QStringLiteral("1"));
        store.set(QStringLiteral("PrintSpecific"), QStringLiteral("1"));
        store.set(QStringLiteral("W_Coord"), QStringLiteral("10"));
        store.set(QStringLiteral("H_Coord"), QStringLiteral("10"));
        FakeScreenInfo screen;
        FakeClipboard clipboard;
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::gray);
        clipboard.setImage(image);
        FakePrintSystem printers;
        QtMessageBoxes messages;
        QtEventPump events;
        PipelineForms forms;
        PrintSettings settings;
        qint16 choice = -1;
        PrintPipeline pipeline({store, screen, clipboard, printers, messages, events, forms},
                               settings, choice);

        QList<TickResult> ticks;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ticks.append(pipeline.tick(true, true)); });
        ticker.start(20);
        QTimer::singleShot(200, this, [&] {
            QVERIFY(forms.promptOpen());
            if (action == QLatin1String("close"))
                forms.prompt()->close();
            else
                QTest::mouseClick(child<QPushButton>(forms.prompt(), action.toLatin1().constData()),
                                  Qt::LeftButton);
        });
        int boxes = 0;
        QTimer boxWatch;
        connect(&boxWatch, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            ++boxes;
            QVERIFY(forms.prompt() && !forms.prompt()->isVisible());
            QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        });
        boxWatch.start(50);
        QCOMPARE(pipeline.tick(true, true), result);
        boxWatch.stop();
        QCOMPARE(boxes, device.isEmpty() ? 0 : 1);
        ticker.stop();
        QVERIFY(!ticks.isEmpty());
        QVERIFY(std::all_of(ticks.begin(), ticks.end(),
                            [](TickResult r) { return r == TickResult::Busy; }));
        QVERIFY(!forms.promptOpen());
        QCOMPARE(printers.jobs.size(), result == TickResult::Printed ? 1 : 0);
        if (result == TickResult::Printed)
            QCOMPARE(printers.jobs.first().draws.first().sourcePixels, QRectF(0, 0, 64, 48));
    }
};

QTEST_MAIN(TestForms)
#include "tst_ui_forms.moc"
