#include "InputPopup.h"

#include "ui_InputPopup.h"

TRenameForm::TRenameForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_ui(std::make_unique<Ui::TRenameForm>()) {
    m_ui->setupUi(this);
    setWindowTitle(QStringLiteral("Rename File"));
    QPalette blue = palette();
    blue.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(blue);
    setModal(false);
    connect(m_ui->Button1, &QPushButton::clicked, this, &TRenameForm::Button1Click);
    connect(m_ui->Button2, &QPushButton::clicked, this, &TRenameForm::Button2Click);
}

TRenameForm::~TRenameForm() = default;

QString TRenameForm::text() const {
    return m_ui->FileName->text();
}

void TRenameForm::setText(const QString& text) {
    m_ui->FileName->setText(text);
}

void TRenameForm::ShowPopup(int mode, const QString& text, int width, QPoint topLeft) {
    Mode = mode;
    setText(text);
    resize(width, height());
    move(topLeft);
    show();
    raise();
    activateWindow();
    m_ui->FileName->setFocus();
    m_ui->FileName->selectAll();
}

void TRenameForm::Button1Click() {
    const QString typed = text();
    // A file cannot be renamed to nothing: the popup stays for another try.
    if (Mode == RenameFile && typed.isEmpty())
        return;
    if (!typed.isEmpty() && m_check && !m_check(Mode, typed))
        return;
    hide();
    if (!typed.isEmpty())
        emit confirmed(Mode, typed);
}

void TRenameForm::Button2Click() {
    hide();
}

void TRenameForm::reject() {
    Button2Click();
}
