#include "ui/folder/EntrySheet.h"

#include "ui/folder/Caption.h"

#include <QDialogButtonBox>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

EntrySheet::EntrySheet(const QString &title, const QString &caption, ProtectFieldType type,
                       const QString &confirmText, QWidget *parent)
    : QDialog(parent), m_field(new UserFormTextField(type)), m_problem(new QLabel),
      m_confirm(new QPushButton(confirmText))
{
    setWindowTitle(title);
    // Announced as it opens.
    setAccessibleName(title);
    setAccessibleDescription(caption);
    setWindowModality(Qt::WindowModal);
    setMinimumWidth(400);
    m_field->setObjectName(QStringLiteral("entryField"));
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    m_problem->setObjectName(QStringLiteral("problemLabel"));
    m_problem->setTextFormat(Qt::PlainText);
    m_problem->setWordWrap(true);
    m_problem->setVisible(false);

    auto *heading = new QLabel(title);
    QFont headline = heading->font();
    headline.setBold(true);
    headline.setPointSizeF(headline.pointSizeF() * 1.2);
    heading->setFont(headline);

    auto *buttons = new QDialogButtonBox;
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    buttons->addButton(m_confirm, QDialogButtonBox::AcceptRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(new Caption(caption));
    layout->addWidget(m_field);
    layout->addWidget(m_problem);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    // Once the button is inside this dialog, so that the dialog knows its default.
    m_confirm->setDefault(true);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_confirm, &QPushButton::clicked, this, [this] { Q_EMIT submitted(m_field->text()); });
}

EntrySheet::~EntrySheet()
{
    m_field->wipe();
}

void EntrySheet::setProblem(const QString &problem)
{
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
}

QString EntrySheet::problem() const
{
    return m_problem->text();
}

void EntrySheet::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_field->setFocus(Qt::OtherFocusReason);
}

void EntrySheet::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        m_field->wipe();
        setProblem({});
    }
}
