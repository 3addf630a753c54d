#include "ui/folder/NewFolderView.h"

#include "ui/common/Symbols.h"
#include "ui/common/UserFormTextField.h"
#include "ui/folder/Caption.h"
#include "ui/folder/NewFolderState.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NewFolderView::NewFolderView(CreateCallback onCreate, QWidget *parent)
    : Screen(parent), m_state(new NewFolderState(this)), m_nameField(new QLineEdit),
      m_pinField(new UserFormTextField(ProtectFieldType::optionalPin)),
      m_createButton(new QPushButton(tr("Create Folder")))
{
    setObjectName(QStringLiteral("newFolderView"));
    setTitle(tr("New Folder"));
    setDismissesOnLock(true);
    setMinimumWidth(440);
    m_nameField->setObjectName(QStringLiteral("folderNameField"));
    m_nameField->setPlaceholderText(tr("Folder Name"));
    m_nameField->setAccessibleName(tr("Folder Name"));
    m_pinField->setObjectName(QStringLiteral("pinField"));
    m_createButton->setObjectName(QStringLiteral("createFolderButton"));

    auto *section = new QGroupBox(tr("Name"));
    auto *fields = new QVBoxLayout(section);
    fields->addWidget(m_nameField);
    fields->addWidget(m_pinField);
    auto *caption =
        new Caption(tr("Adding an optional PIN means the folder's contents will be protected with a "
                       "second level of security; if the PIN is lost, the files will not be accessible."));
    caption->setObjectName(QStringLiteral("pinCaption"));
    setSummary(caption->text());
    fields->addWidget(caption);

    auto *buttons = new QDialogButtonBox;
    QPushButton *cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    buttons->addButton(m_createButton, QDialogButtonBox::AcceptRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeTip());
    layout->addWidget(section);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_nameField, &QLineEdit::textChanged, m_state, &NewFolderState::setName);
    connect(m_pinField, &QLineEdit::textChanged, m_state, &NewFolderState::setPin);
    connect(m_state, &NewFolderState::changed, this,
            [this] { m_createButton->setEnabled(m_state->canCreate()); });
    if (onCreate)
        connect(m_state, &NewFolderState::createRequested, this, std::move(onCreate));
    connect(cancel, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_createButton, &QPushButton::clicked, this, &NewFolderView::create);
    m_createButton->setEnabled(m_state->canCreate());
}

QWidget *NewFolderView::makeTip()
{
    auto *tip = new QFrame;
    tip->setObjectName(QStringLiteral("createFolderTip"));
    tip->setFrameShape(QFrame::StyledPanel);
    auto *icon = new QLabel;
    icon->setPixmap(Symbols::bundledPicture(QStringLiteral(":/pictures/tipIcon.png"))
                        .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto *heading = new QLabel(tr("New Folder"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *text = new Caption(
        tr("Since no on-disk cache contains unencrypted files (ie no thumbnail cache), performance is best "
           "achieved by organizing smaller numbers of files in unique folders.\n\nAn optional pin will "
           "provide an additional barrier to access to access the contents of this folder.A pin should be 4 "
           "chars minimum."));
    auto *texts = new QVBoxLayout;
    texts->addWidget(heading);
    texts->addWidget(text);
    auto *layout = new QHBoxLayout(tip);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    return tip;
}

void NewFolderView::create()
{
    if (!m_state->create())
        return;
    m_pinField->wipe();
    Q_EMIT dismissRequested();
}

void NewFolderView::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    // Only now is there a dialog to take the default button; set earlier, the first enabled
    // button (Cancel) would answer Return.
    m_createButton->setDefault(true);
    m_nameField->setFocus(Qt::OtherFocusReason);
}

void NewFolderView::hideEvent(QHideEvent *event)
{
    Screen::hideEvent(event);
    // A minimised window hides spontaneously; only a closed sheet forgets what was typed.
    if (!event->spontaneous()) {
        m_pinField->wipe();
        m_state->forgetPin();
    }
}
