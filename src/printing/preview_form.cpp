#include "printing/preview_form.h"
#include "core/dialog_buttons.h"
#include "core/modal.h"
#include "core/rounding.h"
#include "core/window_placement.h"
#include "report/recording_report.h"
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace cardora {

namespace {
const QColor kDesk(128, 128, 128);

// A magnifying glass: the cursor of the preview's page.
QCursor magnifyCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.end();
    return QCursor(pixmap, 11, 11);
}
} // namespace

// ---- the page control

TPreviewPage::TPreviewPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("PreviewPage");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPreviewPage::SetPage(const TRecordingReport* pages, int index, QSize pageSize, int margin, int shadow)
{
    pages_ = pages;
    index_ = index;
    shadow_ = shadow;
    sheet_ = QRect(QPoint(margin, margin), pageSize);
    resize(pageSize.width() + 2 * margin + shadow, pageSize.height() + 2 * margin + shadow);
    update();
}

void TPreviewPage::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), kDesk);
    if (sheet_.isEmpty())
        return;
    p.fillRect(sheet_.translated(shadow_, shadow_), Qt::black);
    p.fillRect(sheet_, Qt::white);
    p.setClipRect(event->rect());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (pages_)
        pages_->DrawPage(p, index_, QRectF(sheet_));
    p.setClipping(false);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheet_.adjusted(0, 0, -1, -1));
}

void TPreviewPage::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(event->button());
}

// ---- the preview component

TFilePreview::TFilePreview(QObject* parent) : QObject(parent) { setObjectName("FilePreview1"); }

int TFilePreview::Pages() const { return pages_ ? pages_->PageCount() : 0; }

QSizeF TFilePreview::sheetInches() const
{
    if (!pages_ || pages_->PageCount() == 0)
        return QSizeF(8.5, 11.0);
    const QSize device = pages_->PageSize(std::clamp(currentPage_ - 1, 0, pages_->PageCount() - 1));
    return QSizeF(double(device.width()) / std::max(1, pages_->XDpi()),
        double(device.height()) / std::max(1, pages_->YDpi()));
}

void TFilePreview::Start(QScrollArea* scrollBox)
{
    scrollBox_ = scrollBox;
    if (!scrollBox_)
        return;
    active_ = true;
    auto* page = new TPreviewPage;
    scrollBox_->setWidget(page);
    scrollBox_->setWidgetResizable(false);
    scrollBox_->setAlignment(Qt::AlignCenter);
    pageControl_ = page;
    currentPage_ = FirstPage();
    PrintPage(currentPage_);
}

void TFilePreview::Finish()
{
    active_ = false;
}

void TFilePreview::PrintPage(int page)
{
    if (!pageControl_)
        return;
    const int count = Pages();
    currentPage_ = count > 0 ? std::clamp(page, 1, count) : 1;
    layoutPage();
    emit pageChanged();
}

void TFilePreview::layoutPage()
{
    if (!pageControl_)
        return;
    const QSizeF inches = sheetInches();
    const double scale = ScreenPixelsPerInch() * zoom_ / 100.0;
    const QSize size(std::max(1, Round(inches.width() * scale)), std::max(1, Round(inches.height() * scale)));
    const int margin = Round(inches.width() * scale * marginPercent_ / 100.0);
    pageControl_->SetPage(pages_, currentPage_ - 1, size, margin, shadowDepth_);
}

void TFilePreview::SetZoom(double percent)
{
    percent = std::clamp(percent, kMinZoom, kMaxZoom);
    if (percent == zoom_)
        return;
    zoom_ = percent;
    emit zoomChanged();
}

double TFilePreview::ZoomPageWidthFactor() const
{
    if (!scrollBox_)
        return zoom_;
    const QSizeF inches = sheetInches();
    const double available = scrollBox_->viewport()->width() - shadowDepth_;
    const double perZoom = inches.width() * ScreenPixelsPerInch() / 100.0 * (1.0 + 2 * marginPercent_ / 100.0);
    return std::clamp(available / perZoom, kMinZoom, kMaxZoom);
}

double TFilePreview::ZoomPageFactor() const
{
    if (!scrollBox_)
        return zoom_;
    const QSizeF inches = sheetInches();
    const double ppi = ScreenPixelsPerInch();
    const double margins = 2 * marginPercent_ / 100.0 * inches.width() * ppi / 100.0;
    const double height = (scrollBox_->viewport()->height() - shadowDepth_) / (inches.height() * ppi / 100.0 + margins);
    return std::clamp(std::min(ZoomPageWidthFactor(), height), kMinZoom, kMaxZoom);
}

// ---- the window

TPreviewForm::TPreviewForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("PreviewForm");
    setWindowTitle("Label Preview");
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint);
    setSizeGripEnabled(true);
    resize(640, 520);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    top->addWidget(ScrollBox1, 1);
    FilePreview1 = new TFilePreview(this);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 4, 6, 6);
    // The preview only closes: its OK is "CloseButton" and it has no Cancel.
    DialogButtonsLook look;
    look.ok = { "Ok", "CloseButton" };
    look.cancel = {};
    look.help = { "Help", "Helpbutton" };
    look.openHelp = [this] { emit HelpRequested(kHelpContext); };
    look.onOk = [this] { closePreview(); };
    const TDialogButtons buttons(*this, std::move(look));
    CloseButton = buttons.Ok();
    auto zoomButton = [&](const char* name, const QString& text, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(hint);
        row->addWidget(b);
        return b;
    };
    row->addWidget(CloseButton);
    sbZoomIn = zoomButton("sbZoomIn", "+", "Zoom in");
    sbZoomOut = zoomButton("sbZoomOut", QString(QChar(0x2212)), "Zoom out");
    sbZoomPageWidth = zoomButton("sbZoomPageWidth", "Width", "Fit the page's width");
    sbZoomPage = zoomButton("sbZoomPage", "Page", "Show the whole page");
    // A two-sided job has a page of backs after each page of fronts.
    sbPriorPage = zoomButton("sbPriorPage", "<", "The page before (Page Up)");
    sbNextPage = zoomButton("sbNextPage", ">", "The next page (Page Down)");
    row->addStretch(1);
    row->addWidget(buttons.Help());
    row->addWidget(buttons.WhatsThis());
    top->addLayout(row);

    connect(sbZoomIn, &QToolButton::clicked, this, [this] { zoomIn(); });
    connect(sbZoomOut, &QToolButton::clicked, this, [this] { zoomOut(); });
    connect(sbZoomPageWidth, &QToolButton::clicked, this, [this] { zoomToPageWidth(); });
    connect(sbZoomPage, &QToolButton::clicked, this, [this] { zoomToPage(); });
    connect(sbPriorPage, &QToolButton::clicked, this, [this] { handleKey(Qt::Key_PageUp); });
    connect(sbNextPage, &QToolButton::clicked, this, [this] { handleKey(Qt::Key_PageDown); });
    connect(FilePreview1, &TFilePreview::pageChanged, this, [this] { showPageNumber(); });
    connect(FilePreview1, &TFilePreview::zoomChanged, this, [this] { redrawPage(); });

    // FormCreate: the scroll box shows the magnifier.
    ScrollBox1->viewport()->setCursor(magnifyCursor());
    ScrollBox1->installEventFilter(this);
    ScrollBox1->viewport()->installEventFilter(this);
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    prepareToShow();
}

void TPreviewForm::prepareToShow()
{
    if (!firstActivation_)
        return;
    firstActivation_ = false;
    RestoreWindowPlacement(*this, "TPreviewForm");
    FilePreview1->Start(ScrollBox1);
    if (TPreviewPage* page = FilePreview1->PageControl()) {
        page->setCursor(ScrollBox1->viewport()->cursor());
        page->OnMouseDown = [this](Qt::MouseButton b) { zoomByClick(b); };
    }
    FilePreview1->SetZoom(100.0);
}

void TPreviewForm::zoomIn() { FilePreview1->SetZoom(FilePreview1->Zoom() + FilePreview1->ZoomInc()); }
void TPreviewForm::zoomOut() { FilePreview1->SetZoom(FilePreview1->Zoom() - FilePreview1->ZoomInc()); }
void TPreviewForm::zoomToPageWidth() { FilePreview1->SetZoom(FilePreview1->ZoomPageWidthFactor()); }
void TPreviewForm::zoomToPage() { FilePreview1->SetZoom(FilePreview1->ZoomPageFactor()); }

void TPreviewForm::zoomByClick(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        zoomIn();
    else
        zoomOut();
}

void TPreviewForm::handleKey(int key)
{
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    if (key == Qt::Key_Up)
        bar->setValue(std::max(0, bar->value() - bar->singleStep()));
    else if (key == Qt::Key_Down)
        bar->setValue(std::min(bar->value() + bar->singleStep(), bar->maximum()));
    else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown)
        FilePreview1->PrintPage(FilePreview1->CurrentPage() + (key == Qt::Key_PageDown ? 1 : -1));
}

void TPreviewForm::showPageNumber()
{
    sbPriorPage->setEnabled(FilePreview1->CurrentPage() > FilePreview1->FirstPage());
    sbNextPage->setEnabled(FilePreview1->CurrentPage() < FilePreview1->Pages());
    setWindowTitle(QString("Preview Page %1 of %2")
                       .arg(FilePreview1->CurrentPage() - FilePreview1->FirstPage() + 1)
                       .arg(FilePreview1->Pages()));
}

void TPreviewForm::redrawPage() { FilePreview1->PrintPage(FilePreview1->CurrentPage()); }

void TPreviewForm::closePreview() { done(mrOk); }

void TPreviewForm::done(int result)
{
    FormClose();
    QDialog::done(result == QDialog::Rejected ? mrOk : result);
}

void TPreviewForm::FormClose()
{
    if (closed_)
        return;
    closed_ = true;
    if (!firstActivation_)
        SaveWindowPlacement(*this, "TPreviewForm");
    if (FilePreview1->Active())
        FilePreview1->Finish();
}

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown)
        handleKey(key);
    else
        QDialog::keyPressEvent(event);
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            handleKey(key);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == ScrollBox1->viewport()) {
        zoomByClick(static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace cardora
