#include "ConfigDialog.h"
#include "ui_ConfigDialog.h"

#include "AboutBox.h"
#include "AreaPicker.h"
#include "DesignFit.h"
#include "FormPlacement.h"
#include "ProgramIcon.h"
#include "platform/PicturePixels.h"
#include "platform/ScreenCapture.h"
#include "printing/DrawPlan.h"
#include "printing/MessageBoxes.h"
#include "printing/PrintPipeline.h"
#include "printing/Printer.h"
#include "printing/TextNumbers.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QSystemTrayIcon>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kErrorTitle = QStringLiteral("Tarnwick32 Error");
const QString kNoticeTitle = QStringLiteral("Tarnwick32");
const QString kResidentProgramName = QStringLiteral("TWK");

// A number the record cannot hold (a coordinate beyond 32 bits, a scale factor too
// large for a double) is refused like one that is not a number, rather than stored
// clamped or as 0; so is a scale factor that would take the picture beyond what the
// print system can draw, which every print would refuse.
bool representable(const QString& text, bool coordinate) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return false;
    if (!coordinate)
        return std::abs(value) <= kLargestScaleFactor;
    const double rounded = RoundHalfEven(value);
    return rounded >= double(std::numeric_limits<qint32>::min()) &&
           rounded <= double(std::numeric_limits<qint32>::max());
}

qint32 coordinate(const QLineEdit* edit) {
    return qint32(RoundHalfEven(LeadingNumber(edit->text())));
}

qint16 flag(bool on) {
    return on ? 1 : 0;
}

} // namespace

Twk01::Twk01(const ProgramServices& services, SharedValues& shared, QString programName,
             QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::Twk01>()), m_services(services), m_shared(shared),
      m_programName(std::move(programName)),
      m_pointer([] { return PicturePoint(QCursor::pos()); }) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    m_ui->Image1->setPixmap(ProgramPixmap());
    m_ui->Image1->setAlignment(Qt::AlignCenter);
    FitDesignToFont(this);
    setFixedSize(size());

    connect(m_ui->cbx_printarea, &QCheckBox::toggled, this, &Twk01::cbx_printarea_Click);
    // toggled rather than clicked: clearing a checked box from code is a click too.
    connect(m_ui->cbx_printprompt, &QCheckBox::toggled, this, &Twk01::cbx_printprompt_Click);
    connect(m_ui->cbx_scaletofit, &QCheckBox::toggled, this, &Twk01::cbx_scaletofit_Click);
    connect(m_ui->cb_ok, &QPushButton::clicked, this, &Twk01::cb_ok_Click);
    connect(m_ui->cb_cancel, &QPushButton::clicked, this, &Twk01::cb_cancel_Click);
    connect(m_ui->cb_close, &QPushButton::clicked, this, &Twk01::cb_close_Click);
    connect(m_ui->cb_help, &QPushButton::clicked, this, &Twk01::cb_help_Click);
    connect(m_ui->cb_about, &QPushButton::clicked, this, &Twk01::cb_about_Click);
    connect(m_ui->cb_pickarea, &QPushButton::clicked, this, &Twk01::cb_pickarea_Click);
    connect(&m_timer1, &QTimer::timeout, this, &Twk01::Timer1_Timer);
    connect(m_ui->ddlb_printer, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_ui->ddlb_printer->setToolTip(
            m_ui->ddlb_printer->itemData(index, Qt::ToolTipRole).toString());
    });
    for (QLineEdit* edit :
         {m_ui->sle_x, m_ui->sle_y, m_ui->sle_w, m_ui->sle_h, m_ui->sle_xscale, m_ui->sle_yscale})
        edit->installEventFilter(this);

    // Without a tray there is no icon to come back through once the dialog is closed.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        m_ui->Label3->setText(
            QStringLiteral("No tray here: tarnwick --configure opens this again"));

    Form_Load();
    CentreOnScreen(this);
    m_timer1.start(kPointerIntervalMs);
}

Twk01::~Twk01() {
    // The picker goes first, while the dialog it reports to is still whole.
    m_closing = true;
    qDeleteAll(areaPickers());
}

bool Twk01::printerChoiceEnabled() const {
    return PrinterChoiceEnabled(m_services.printers);
}

void Twk01::Form_Load() {
    PrintSettings& s = m_shared.settings;

    addPrinterEntry(kSystemDefault);
    if (printerChoiceEnabled()) {
        for (const PrinterIdentity& printer : m_services.printers.installedPrinters())
            addPrinterEntry(printer.deviceName);
    } else {
        m_ui->ddlb_printer->setEnabled(false);
    }

    LoadPrintSettings(s, m_services.store, m_services.screen);

    m_ui->cbx_printarea->setChecked(s.PrintSpecific != 0);
    m_ui->sle_x->setText(QString::number(s.X_Coord));
    m_ui->sle_y->setText(QString::number(s.Y_Coord));
    m_ui->sle_w->setText(QString::number(s.W_Coord));
    m_ui->sle_h->setText(QString::number(s.H_Coord));
    m_ui->sle_xscale->setText(FormatFixed3(s.ScaleFactorX));
    m_ui->sle_yscale->setText(FormatFixed3(s.ScaleFactorY));

    cbx_printarea_Click();

    const bool landscape = s.PrintOrientation == 2;
    m_ui->o_orientation_0->setChecked(landscape);
    m_ui->o_orientation_1->setChecked(!landscape);

    m_ui->cbx_negative->setChecked(s.PrintNegative != 0);
    m_ui->cbx_printprompt->setChecked(s.PrintPrompt != 0);
    m_ui->cbx_scaletofit->setChecked(s.ScaleToFit != 0);
    m_ui->cbx_greyscale->setChecked(s.GreyScale != 0);

    m_ui->ddlb_printer->setCurrentIndex(0);
    for (int i = 0; i < m_ui->ddlb_printer->count(); ++i) {
        if (printerEntry(i) == s.PrintDevice)
            m_ui->ddlb_printer->setCurrentIndex(i);
    }
}

// A queue name longer than the list gives way in its middle, where names that share a
// start and an end differ; the entry keeps the whole name, shown as its tip.
void Twk01::addPrinterEntry(const QString& name) {
    QComboBox* list = m_ui->ddlb_printer;
    QStyleOptionComboBox option;
    option.initFrom(list);
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, list);
    const QString shown =
        list->fontMetrics().elidedText(name, Qt::ElideMiddle, std::max(field.width() - 4, 0));
    list->addItem(shown, name);
    if (shown != name)
        list->setItemData(list->count() - 1, name, Qt::ToolTipRole);
}

QString Twk01::printerEntry(int index) const {
    return m_ui->ddlb_printer->itemData(index).toString();
}

void Twk01::cbx_printarea_Click() {
    const bool on = m_ui->cbx_printarea->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui->sle_x, m_ui->sle_y, m_ui->sle_w, m_ui->sle_h, m_ui->cbx_printprompt,
             m_ui->cbx_scaletofit, m_ui->st_text_1, m_ui->st_text_2, m_ui->st_text_3,
             m_ui->st_text_4})
        w->setEnabled(on);
    if (!on) {
        m_ui->cbx_printprompt->setChecked(false);
        m_ui->cbx_scaletofit->setChecked(false);
    }
}

void Twk01::cbx_printprompt_Click() {
    m_shared.settings.PrintPrompt = flag(m_ui->cbx_printprompt->isChecked());
}

void Twk01::cbx_scaletofit_Click() {
    m_shared.settings.ScaleToFit = flag(m_ui->cbx_scaletofit->isChecked());
}

bool Twk01::validateFields() {
    struct Field {
        QLineEdit* edit;
        bool coordinate;
        const char* message;
    };
    const Field fields[] = {
        {m_ui->sle_x, true, "X Co-ordinate is not a valid value! Please re-enter."},
        {m_ui->sle_y, true, "Y Co-ordinate is not a valid value! Please re-enter."},
        {m_ui->sle_w, true, "Width is not a valid value! Please re-enter."},
        {m_ui->sle_h, true, "Height is not a valid value! Please re-enter."},
        {m_ui->sle_xscale, false, "X Scale is not a valid value! Please re-enter."},
        {m_ui->sle_yscale, false, "Y Scale is not a valid value! Please re-enter."},
    };
    for (const Field& field : fields) {
        const QString text = field.edit->text();
        if (!IsNumeric(text) || !representable(text, field.coordinate)) {
            m_services.messages.show(QLatin1String(field.message), MessageIcon::Exclamation,
                                     kErrorTitle);
            return false;
        }
    }
    return true;
}

void Twk01::cb_ok_Click() {
    if (!validateFields())
        return;
    const bool firstConfiguration = IsFirstStart(m_services.store);

    PrintSettings& s = m_shared.settings;
    s.PrintSpecific = flag(m_ui->cbx_printarea->isChecked());
    s.X_Coord = coordinate(m_ui->sle_x);
    s.Y_Coord = coordinate(m_ui->sle_y);
    s.W_Coord = coordinate(m_ui->sle_w);
    s.H_Coord = coordinate(m_ui->sle_h);
    s.ScaleFactorX = LeadingNumber(m_ui->sle_xscale->text());
    s.ScaleFactorY = LeadingNumber(m_ui->sle_yscale->text());
    s.PrintOrientation = m_ui->o_orientation_0->isChecked() ? 2 : 1;
    s.PrintNegative = flag(m_ui->cbx_negative->isChecked());
    s.GreyScale = flag(m_ui->cbx_greyscale->isChecked());
    s.PrintDevice = printerEntry(m_ui->ddlb_printer->currentIndex());
    // PrintPrompt and ScaleToFit stand in memory as their boxes' clicks left them.
    SavePrintSettings(s, m_services.store);

    if (firstConfiguration || m_programName == kResidentProgramName)
        emit residentRequested();
    close();
}

void Twk01::cb_cancel_Click() {
    close();
}

void Twk01::cb_close_Click() {
    emit closeProgramRequested();
    close();
}

void Twk01::cb_help_Click() {
    m_services.messages.show(QStringLiteral("No help is currently available."),
                             MessageIcon::Information, kNoticeTitle);
}

void Twk01::cb_about_Click() {
    Twk05 about(this);
    // Modal to this dialog only: the tray icon and its menu stay usable, so "Close"
    // still ends the program while the box is open.
    about.setWindowModality(Qt::WindowModal);
    m_about = &about;
    about.exec();
    m_about = nullptr;
    // A shutdown that came while the box was open closes the dialog now that it can.
    if (m_closePending)
        close();
}

QList<AreaPicker*> Twk01::areaPickers() const {
    QList<AreaPicker*> open;
    for (const QPointer<AreaPicker>& picker : m_pickers) {
        if (picker)
            open.append(picker);
    }
    return open;
}

void Twk01::closeAreaPickers() {
    for (AreaPicker* picker : areaPickers())
        picker->close();
}

// The dialog leaves the screen first: the area is picked from what lies under it.
void Twk01::cb_pickarea_Click() {
    if (m_picking)
        return;
    m_picking = true;
    hide();
    QTimer::singleShot(kHideSettleMs, this, &Twk01::pickArea);
}

void Twk01::pickArea() {
    if (m_closing)
        return;
    const QImage picture = m_services.capture.capture(CaptureKind::WholeScreen);
    if (picture.isNull()) {
        m_picking = false;
        BringForward(this);
        const QString why = m_services.capture.failure();
        m_services.messages.show(why.isEmpty() ? QStringLiteral("The screen could not be captured.")
                                               : why,
                                 MessageIcon::Exclamation, kNoticeTitle);
        return;
    }
    // Where windows cannot be placed (Wayland), a full-screen window goes to the output
    // the dialog was on; there the picture is that output's.
    m_pickers.clear();
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        screens = {screen()};
    for (QScreen* s : std::as_const(screens)) {
        auto* picker = new AreaPicker(picture, s, this);
        picker->setAttribute(Qt::WA_DeleteOnClose);
        connect(picker, &AreaPicker::picked, this, &Twk01::takePickedArea);
        connect(picker, &AreaPicker::picked, this, &Twk01::closeAreaPickers);
        connect(picker, &AreaPicker::cancelled, this, &Twk01::closeAreaPickers);
        // Counted rather than looked at: an overlay announces its end half destroyed.
        ++m_openPickers;
        connect(picker, &QObject::destroyed, this, [this] {
            if (--m_openPickers == 0 && m_picking) {
                m_picking = false;
                if (!m_closing)
                    BringForward(this);
            }
        });
        m_pickers.append(picker);
        picker->showOnScreen();
    }
}

// Like typed values, nothing is stored before OK.
void Twk01::takePickedArea(const QRect& area) {
    m_ui->sle_x->setText(QString::number(area.x()));
    m_ui->sle_y->setText(QString::number(area.y()));
    m_ui->sle_w->setText(QString::number(area.width()));
    m_ui->sle_h->setText(QString::number(area.height()));
    m_ui->cbx_printarea->setChecked(true);
}

void Twk01::bringAboutBoxForward() {
    if (m_about)
        BringForward(m_about);
}

void Twk01::closeAboutBox() {
    if (m_about)
        m_about->reject();
}

void Twk01::Timer1_Timer() {
    const QPoint p = m_pointer();
    m_ui->st_cursor->setText(QString::number(p.x()) + u',' + QString::number(p.y()));
}

bool Twk01::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // After the mouse press has placed the caret, so a click selects the whole text too.
        auto* edit = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, edit, [edit] { edit->setSelection(0, int(edit->text().size())); });
    }
    return QDialog::eventFilter(watched, event);
}

void Twk01::closeEvent(QCloseEvent* event) {
    if (m_about) {
        // The About box runs its own event loop inside cb_about_Click: let it end first.
        m_closePending = true;
        closeAboutBox();
        event->ignore();
        return;
    }
    m_timer1.stop();
    m_closing = true;
    closeAreaPickers();
    QDialog::closeEvent(event);
}
