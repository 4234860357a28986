#include "AboutBox.h"
#include "ui_AboutBox.h"

#include "DesignUnits.h"
#include "FormPlacement.h"
#include "ProgramIcon.h"
#include "platform/ProgramStart.h"

#include <QTextBlock>
#include <QTextCursor>

PreviewHack PreviewHack::installed() {
    // Debian keeps the hacks in libexec, older systems in lib; "galaxy", a field
    // of turning star clouds, comes closest to a starfield.
    return {{QStringLiteral("/usr/lib/xscreensaver"), QStringLiteral("/usr/libexec/xscreensaver")},
            QStringLiteral("galaxy")};
}

QString Twk05::AboutText() {
    const QStringList lines = {
        QStringLiteral("Tarnwick32"),
        QStringLiteral("Screen Print Utility, version 1.5"),
        QString(),
        QStringLiteral("Press Print Screen to print the screen,"),
        QStringLiteral("Alt+Print Screen to print the active window."),
        QString(),
        QStringLiteral("Configure the page, the area and the printer"),
        QStringLiteral("from the icon in the system tray."),
        QString(),
        QStringLiteral("Free to use and to pass on."),
    };
    return lines.join(u'\n');
}

Twk05::Twk05(QWidget* parent, const PreviewHack& hack)
    : QDialog(parent), m_ui(std::make_unique<Ui::Twk05>()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    m_ui->Image1->setPixmap(ProgramPixmap());
    SetPointSizeF(m_ui->tb_caption, 8.25);
    m_ui->tb_caption->setPlainText(AboutText());
    for (QTextBlock block = m_ui->tb_caption->document()->begin(); block.isValid();
         block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(format);
    }
    // Its own window clips the preview's drawing, so the text stays readable.
    m_ui->tb_caption->setAttribute(Qt::WA_NativeWindow);
    setFixedSize(size());
    CentreOnScreen(this);
    connect(m_ui->cb_ok, &QPushButton::clicked, this, &Twk05::cb_ok_Click);
    connect(&m_timer1, &QTimer::timeout, this, &Twk05::Timer1_Timer);
    Form_Load(hack);
    m_timer1.start(50);
}

void Twk05::Form_Load(const PreviewHack& hack) {
    placeCaption();
    for (const QString& dir : hack.directories) {
        const QString path = dir + u'/' + hack.name;
        if (FileExists(path))
            m_previewProgram = path;
    }
    if (m_previewProgram.isEmpty())
        return;
    // The hack draws into the black box's own window and ends with it.
    m_previewArguments = {QStringLiteral("-window-id"), QString::number(m_ui->p_stars->winId())};
    StartProgram(m_previewProgram, m_previewArguments);
}

void Twk05::cb_ok_Click() {
    close();
}

void Twk05::Timer1_Timer() {
    ++ScrollTick;
    if (ScrollTick > 4) {
        m_captionTop -= kScrollStepTwips;
        ScrollTick = 0;
    }
    if (m_captionTop < kCaptionWrapTwips)
        m_captionTop = kCaptionStartTwips;
    placeCaption();
    m_ui->tb_caption->repaint();
}

void Twk05::placeCaption() {
    m_ui->tb_caption->move(0, DesignPixels(m_captionTop));
}

Twk05::~Twk05() = default;
