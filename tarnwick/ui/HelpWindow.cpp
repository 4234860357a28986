#include "HelpWindow.h"
#include "ui_HelpWindow.h"

#include "FormPlacement.h"
#include "ProgramIcon.h"

#include <QFontDatabase>
#include <QStringList>

namespace {

// Three blanks under a "1. " or under the indent, a macron under each character
// of the words; the fixed-pitch font keeps them in line.
QString underline(qsizetype words, bool indented) {
    return (indented ? QStringLiteral("   ") : QString()) + QString(words, QChar(0x00AF));
}

} // namespace

QString Twk07::HelpText() {
    const QString heading = QStringLiteral("THANK YOU FOR USING TARNWICK 32");
    const QStringList lines = {
        QString(),
        heading,
        underline(heading.size(), false),
        QString(),
        QStringLiteral("1. PRINTING THE SCREEN"),
        underline(19, true),
        QStringLiteral("   To Print the Full Screen"),
        underline(24, true),
        QStringLiteral("   Hit the 'Print Scrn' key on your keyboard."),
        QString(),
        QStringLiteral("   To Print the Active Window"),
        underline(26, true),
        QStringLiteral("   Hold down the 'Alt' key and hit the 'Print Scrn' key on"),
        QStringLiteral("   your keyboard."),
        QString(),
        QString(),
        QStringLiteral("2. CONFIGURATION OPTIONS"),
        underline(21, true),
        QStringLiteral("   Print Negative Image"),
        underline(20, true),
        QStringLiteral("   By selecting this option, the image produced on printed"),
        QStringLiteral("   sheet will be an inverse of the original screen image. "),
        QString(),
        QStringLiteral("   Print Greyscale Image"),
        underline(21, true),
        QStringLiteral("   By selecting this option, the image produced on the    "),
        QStringLiteral("   printed sheet will be in black & white when printing to"),
        QStringLiteral("   a colour printer.").leftJustified(58, u' '),
        // The actions a desktop's key binding or a script gives the running program.
        QStringLiteral("3. COMMANDS"),
        underline(8, true),
        QStringLiteral("   tarnwick --print         prints the full screen"),
        QStringLiteral("   tarnwick --print-window  prints the active window"),
        QStringLiteral("   tarnwick --configure     opens the configuration"),
        QStringLiteral("   tarnwick --quit          ends Tarnwick 32"),
        QStringLiteral("   More, and exit statuses: tarnwick --help, man tarnwick"),
    };
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

Twk07::Twk07(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::Twk07>()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon());
    // The underlines stand under their words only in a fixed-pitch font, and only
    // while no line wraps; the designed face is rarely installed, so the desktop's
    // own fixed-pitch font serves, with a scroll bar where the lines are wider.
    m_ui->tb_help->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFixedSize(size());
    CentreOnScreen(this);
    connect(m_ui->cb_close, &QPushButton::clicked, this, &Twk07::cb_close_Click);
    Form_Load();
}

void Twk07::Form_Load() {
    // The box keeps lines by itself; CR LF would show the CR.
    QString text = HelpText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_ui->tb_help->setPlainText(text);
}

void Twk07::cb_close_Click() {
    close();
}

Twk07::~Twk07() = default;
