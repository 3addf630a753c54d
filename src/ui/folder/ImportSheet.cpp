#include "ui/folder/ImportSheet.h"

#include "storage/ImportJob.h"
#include "storage/ItemCollection.h"
#include "ui/common/FileChooser.h"
#include "ui/common/Symbols.h"
#include "ui/folder/Caption.h"
#include "ui/folder/ImportSheetState.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString pictureGlobs = QStringLiteral("*.jpg *.jpeg *.png *.gif *.webp *.tif *.tiff *.heic *.heif");
// The platform's own delay before the file dialog appears over the fresh sheet.
constexpr int dialogDelayMs = 500;
} // namespace

ImportSheet::ImportSheet(ItemCollection *collection, Source source, QWidget *parent)
    : ImportSheet(collection, source, {}, parent)
{}

ImportSheet::ImportSheet(ItemCollection *collection, const QStringList &paths, QWidget *parent)
    : ImportSheet(collection, Source::files, paths, parent)
{}

ImportSheet::ImportSheet(ItemCollection *collection, Source source, const QStringList &paths, QWidget *parent)
    : Screen(parent), m_collection(collection), m_source(source), m_givenPaths(paths),
      m_state(new ImportSheetState(this)), m_pages(new QStackedWidget), m_status(new QLabel),
      m_bar(new QProgressBar), m_progressText(new QLabel), m_currentName(new QLabel),
      m_failures(new QListWidget), m_close(new QPushButton(tr("Close"))),
      m_cancel(new QPushButton(tr("Cancel"))), m_ok(new QPushButton(tr("OK")))
{
    setObjectName(QStringLiteral("importSheet"));
    setTitle(tr("Import"));
    setMinimumWidth(460);
    setDismissesOnLock(true);

    m_pages->addWidget(makeProgress());
    m_pages->addWidget(makeFailures());

    m_close->setObjectName(QStringLiteral("closeButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_ok->setObjectName(QStringLiteral("okButton"));
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeTip());
    layout->addWidget(m_pages);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_close, &QPushButton::clicked, m_state, &ImportSheetState::closeWithoutImport);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_state->cancel();
        if (m_job)
            m_job->cancel();
    });
    connect(m_ok, &QPushButton::clicked, this, &Screen::dismissRequested);
    connect(m_state, &ImportSheetState::changed, this, &ImportSheet::showState);
    connect(m_state, &ImportSheetState::finished, this, &ImportSheet::finished);
    connect(m_state, &ImportSheetState::closeRequested, this, &Screen::dismissRequested);
    showState();
}

ImportSheet::~ImportSheet() = default;

QWidget *ImportSheet::makeTip()
{
    auto *tip = new QFrame;
    tip->setObjectName(QStringLiteral("importTip"));
    tip->setFrameShape(QFrame::StyledPanel);
    auto *icon = new QLabel;
    icon->setPixmap(Symbols::bundledPicture(QStringLiteral(":/pictures/tipIcon.png"))
                        .scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto *heading = new QLabel(tr("Import"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto *texts = new QVBoxLayout;
    texts->addWidget(heading);
    auto *caption = new Caption(tr("Copy files from your device to protected encrypted storage."));
    setSummary(caption->text());
    texts->addWidget(caption);
    auto *layout = new QHBoxLayout(tip);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    return tip;
}

QWidget *ImportSheet::makeProgress()
{
    m_status->setObjectName(QStringLiteral("statusLabel"));
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 0); // busy until there is something to count
    m_bar->setTextVisible(false);
    m_bar->setAccessibleName(tr("Import progress"));
    m_progressText->setObjectName(QStringLiteral("progressText"));
    m_currentName->setObjectName(QStringLiteral("currentName"));
    m_currentName->setTextFormat(Qt::PlainText);
    // A long name must not widen the sheet.
    m_currentName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addWidget(m_progressText);
    layout->addWidget(m_currentName);
    layout->addStretch();
    return page;
}

QWidget *ImportSheet::makeFailures()
{
    m_failures->setObjectName(QStringLiteral("failureList"));
    m_failures->setAccessibleName(tr("Files not imported"));
    m_failures->setSelectionMode(QAbstractItemView::NoSelection);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("These files could not be imported:")));
    layout->addWidget(m_failures);
    return page;
}

QStringList ImportSheet::nameFilters(Source source)
{
    const QString pictures = tr("Pictures (%1)").arg(pictureGlobs);
    if (source == Source::photos)
        return {pictures};
    return {pictures, tr("PDF documents (*.pdf)"), tr("Plain text (*.txt *.text)"), tr("Rich text (*.rtf)"),
            tr("All files (*)")};
}

void ImportSheet::showEvent(QShowEvent *event)
{
    Screen::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!m_givenPaths.isEmpty()) {
        QTimer::singleShot(0, this, [this] { startImport(m_givenPaths); });
        return;
    }
    // Bound to the sheet: when it goes first, no dialog appears.
    QTimer::singleShot(dialogDelayMs, this, &ImportSheet::openDialog);
}

void ImportSheet::openDialog()
{
    if (chooseFiles) {
        startImport(chooseFiles(m_source));
        return;
    }
    QString folder = QDir::homePath();
    if (m_source == Source::photos) {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (QDir(pictures).exists())
            folder = pictures;
    }
    auto *chooser = new FileChooser(this);
    connect(chooser, &FileChooser::finished, this, [this, chooser](const QStringList &paths) {
        chooser->deleteLater();
        startImport(paths);
    });
    chooser->open({.kind = FileChooser::Kind::files,
                   .title = tr("Import"),
                   .folder = folder,
                   .nameFilters = nameFilters(m_source),
                   .acceptLabel = {},
                   .dialogName = QStringLiteral("importFileDialog")});
}

void ImportSheet::startImport(const QStringList &paths)
{
    if (!m_state->choose(paths, !m_collection.isNull()))
        return;
    const ImportJob::Mode mode =
        m_source == Source::photos ? ImportJob::Mode::photos : ImportJob::Mode::files;
    m_job = new ImportJob(m_collection, m_collection->session(), paths, mode, this);
    connect(m_job, &ImportJob::progressChanged, this, &ImportSheet::showProgress);
    connect(m_job, &ImportJob::fileStarted, m_currentName, &QLabel::setText);
    connect(m_job, &ImportJob::finished, this, [this](int importedCount) {
        m_currentName->clear();
        m_state->finish(importedCount, m_job->failures());
    });
    m_bar->setRange(0, m_job->filesTotal());
    m_cancel->setFocus(Qt::OtherFocusReason);
    showProgress();
    m_job->start();
}

void ImportSheet::showProgress()
{
    m_state->setProgress(m_job->filesDone(), m_job->filesTotal(), m_job->bytesDone(), m_job->bytesTotal());
}

void ImportSheet::showState()
{
    using Button = ImportSheetState::Button;
    setDismissesInteractively(m_state->dismissesInteractively());
    m_status->setText(m_state->statusText());
    const QString text = m_state->progressText();
    m_progressText->setText(text);
    // The bar's value counts files; screen readers read the bytes from its description.
    m_bar->setAccessibleDescription(text);
    if (m_state->phase() != ImportSheetState::Phase::preparing)
        m_bar->setValue(m_state->filesDone());
    m_close->setVisible(m_state->button() == Button::close);
    m_cancel->setVisible(m_state->button() == Button::cancel);
    m_cancel->setEnabled(m_state->isCancelEnabled());
    const bool failures = m_state->phase() == ImportSheetState::Phase::failures;
    m_ok->setVisible(failures);
    if (failures && m_failures->count() == 0) {
        m_failures->addItems(m_state->failureLines());
        m_pages->setCurrentIndex(1);
        m_ok->setDefault(true);
        m_ok->setFocus(Qt::OtherFocusReason);
    }
}
