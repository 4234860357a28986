// tarnwick-probe print: one print of an image file into a PDF file, through the
// same pipeline a Print Screen press runs, with the stored settings.
#include "command.h"

#include "platform/QtEventPump.h"
#include "platform/QtScreenInfo.h"
#include "platform/QtSettingsStore.h"
#include "printer/PdfFilePrintSystem.h"
#include "printing/Clipboard.h"
#include "printing/MessageBoxes.h"
#include "printing/PrintForms.h"
#include "printing/PrintPipeline.h"
#include "printing/PrintSettings.h"

#include <QPageSize>
#include <QTextStream>

namespace {

const char kUsage[] = "IMAGE --out FILE.pdf [--page A4|A3|A5|Letter|Legal] [--choice 0|1|2]";

// The image file stands for the clipboard's content.
class ImageClipboard : public Clipboard {
public:
    explicit ImageClipboard(const QImage& image) : m_image(image) {}
    bool hasImage() const override { return true; }
    QImage image() const override { return m_image; }

private:
    QImage m_image;
};

// Messages go to the error stream; nobody is there to close a box.
class StderrMessages : public MessageBoxes {
public:
    void show(const QString& text, MessageIcon, const QString& title) override {
        QTextStream(stderr) << title << ": " << text << '\n';
    }
};

// The prompt answers itself with --choice; without one a question is never
// answered, which counts as Cancel.
class AnsweringForms : public PrintForms {
public:
    explicit AnsweringForms(int choice) : m_choice(choice) {}

    void showDisabledNotice() override {}
    void openPrompt(const PrintSettings& settings, qint16& promptChoice) override {
        if (settings.PrintPrompt == 0)
            return;
        if (m_choice < 0)
            QTextStream(stderr) << "tarnwick-probe: prompting is on; answer with --choice\n";
        else
            promptChoice = qint16(m_choice);
    }
    bool promptOpen() const override { return false; }
    void showProgress(const QString&) override {}
    void closePrompt() override {}
    void setPromptHidden(bool) override {}

private:
    int m_choice;
};

std::optional<QPageSize> pageSizeNamed(const QString& name) {
    const QPageSize::PageSizeId ids[] = {QPageSize::A3, QPageSize::A4, QPageSize::A5,
                                         QPageSize::Letter, QPageSize::Legal};
    for (QPageSize::PageSizeId id : ids) {
        if (QPageSize::key(id).compare(name, Qt::CaseInsensitive) == 0 ||
            QPageSize::name(id).compare(name, Qt::CaseInsensitive) == 0)
            return QPageSize(id);
    }
    return std::nullopt;
}

// Twips with at most two decimals, trailing zeros dropped.
QString twips(double value) {
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString rect(const QRectF& r) {
    return twips(r.x()) + u',' + twips(r.y()) + u',' + twips(r.width()) + u',' + twips(r.height());
}

int usage() {
    QTextStream(stderr) << "usage: tarnwick-probe print " << kUsage << '\n';
    return 2;
}

int run(const QStringList& args) {
    QString imageFile, outFile;
    QPageSize pageSize(QPageSize::A4);
    int choice = -1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--out") && hasValue) {
            outFile = args[++i];
        } else if (arg == QLatin1String("--page") && hasValue) {
            const std::optional<QPageSize> size = pageSizeNamed(args[++i]);
            if (!size)
                return usage();
            pageSize = *size;
        } else if (arg == QLatin1String("--choice") && hasValue) {
            bool ok = false;
            choice = args[++i].toInt(&ok);
            if (!ok || choice < 0 || choice > 2)
                return usage();
        } else if (!arg.startsWith(QLatin1String("--")) && imageFile.isEmpty()) {
            imageFile = arg;
        } else {
            return usage();
        }
    }
    if (imageFile.isEmpty() || outFile.isEmpty())
        return usage();
    const QImage image(imageFile);
    if (image.isNull()) {
        QTextStream(stderr) << "tarnwick-probe: cannot read the image " << imageFile << '\n';
        return 1;
    }

    QtSettingsStore store;
    QtScreenInfo screen;
    ImageClipboard clipboard(image);
    PdfFilePrintSystem printers(outFile, pageSize);
    StderrMessages messages;
    QtEventPump events;
    AnsweringForms forms(choice);
    PrintSettings settings;
    qint16 promptChoice = -1;
    PrintPipeline pipeline({store, screen, clipboard, printers, messages, events, forms}, settings,
                           promptChoice);

    QTextStream out(stdout);
    pipeline.setPlanObserver([&out](const DrawPlan& plan, const QSizeF& page) {
        const char* names[] = {"A", "B", "C"};
        out << "case=" << names[int(plan.drawCase)] << " src=" << rect(plan.sourceTwips)
            << " dst=" << rect(plan.target) << " page=" << twips(page.width()) << ','
            << twips(page.height()) << Qt::endl;
    });
    switch (pipeline.printClipboard()) {
    case TickResult::Printed:
        return 0;
    case TickResult::Cancelled:
        out << "cancelled" << Qt::endl;
        return 0;
    default:
        return 1;
    }
}

const bool registered = probe::registerCommand("print", kUsage, run);

} // namespace
