#include "PrintPrompt.h"
#include "ui_PrintPrompt.h"

#include "DesignFit.h"
#include "DesignUnits.h"
#include "FormPlacement.h"
#include "ProgramIcon.h"
#include "printing/PrintSettings.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

const QString kPromptText = QStringLiteral("Select Option for Printing.");
const QString kPrintingText = QStringLiteral("Now Printing, Please Wait....");

} // namespace

Twk03::Twk03(const PrintSettings& settings, qint16& promptChoice, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::Twk03>()), m_promptChoice(promptChoice) {
    m_ui->setupUi(this);
    // No title bar, a fixed border, no task-bar entry; kept above the window the
    // user was working in when the key was pressed, so the question is seen.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
    setWindowIcon(ProgramIcon());
    m_ui->Image1->setPixmap(ProgramPixmap());
    SetPointSizeF(m_ui->Label1, 14.25);
    // The label holds the longer of its two texts here, so the fit leaves room for both.
    m_fit = FitDesignToFont(this);
    connect(m_ui->cb_option_0, &QPushButton::clicked, this, [this] { cb_option_Click(0); });
    connect(m_ui->cb_option_1, &QPushButton::clicked, this, [this] { cb_option_Click(1); });
    connect(m_ui->cb_option_2, &QPushButton::clicked, this, [this] { cb_option_Click(2); });
    Form_Load(settings);
}

void Twk03::Form_Load(const PrintSettings& settings) {
    showPrinter(QString(), settings.PrintDevice, QStringLiteral(" Selected for Output."));
    // The short window leaves the button row below its edge, out of sight and
    // out of reach of the mouse.
    const bool prompt = settings.PrintPrompt != 0;
    m_ui->Label1->setText(prompt ? kPromptText : kPrintingText);
    const int height = DesignPixels(prompt ? kPromptHeightTwips : kNoticeHeightTwips);
    setFixedSize(width(), int(std::lround(height * m_fit.y())));
    CentreOnScreen(this);
}

// A queue name can be longer than the label: its middle gives way, so its start and
// end (which tell queues apart) and the words around it stay readable.
void Twk03::showPrinter(const QString& before, const QString& name, const QString& after) {
    QLabel* label = m_ui->st_printer;
    const QFontMetrics metrics = label->fontMetrics();
    const int room =
        label->width() - metrics.horizontalAdvance(before + after) - 2 * label->margin() - 2;
    const QString shown = metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0));
    label->setText(before + shown + after);
    label->setToolTip(shown == name ? QString() : name);
}

void Twk03::cb_option_Click(int index) {
    m_promptChoice = qint16(index);
}

void Twk03::showProgress(const QString& deviceName) {
    m_ui->Label1->setText(kPrintingText);
    showPrinter(QStringLiteral("Writing output to "), deviceName, QString());
    repaint();
    // A window shown a moment ago is only painted once the server has mapped it.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

Twk03::~Twk03() = default;
