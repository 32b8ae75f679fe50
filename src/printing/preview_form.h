#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>

class QScrollArea;
class QToolButton;
class QPushButton;

namespace cardora {

class TRecordingReport;

// One recorded page drawn on a grey desk with a margin and a shadow.
class TPreviewPage : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewPage(QWidget* parent = nullptr);
    void SetPage(const TRecordingReport* pages, int index, QSize pageSize, int margin, int shadow);
    // Where the sheet itself lies in the widget.
    QRect SheetRect() const { return sheet_; }
    std::function<void(Qt::MouseButton)> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const TRecordingReport* pages_ = nullptr;
    int index_ = 0;
    QRect sheet_;
    int shadow_ = 0;
};

// Shows recorded pages in a scroll box at a zoom in percent (100 = the
// sheet's true size at the screen's pixels per inch).
class TFilePreview : public QObject {
    Q_OBJECT
public:
    static constexpr double kMinZoom = 10.0;
    static constexpr double kMaxZoom = 500.0;

    explicit TFilePreview(QObject* parent = nullptr);

    // The caller keeps the pages alive while the preview is active.
    void SetStream(const TRecordingReport* pages) { pages_ = pages; }
    // Reads the pages and draws the first one into the scroll box.
    void Start(QScrollArea* scrollBox);
    void Finish();
    bool Active() const { return active_; }

    double Zoom() const { return zoom_; }
    void SetZoom(double percent);
    double ZoomInc() const { return zoomInc_; }
    double MarginPercent() const { return marginPercent_; }
    int ShadowDepth() const { return shadowDepth_; }
    // The zoom at which the page's width (or the whole page) fills the scroll box.
    double ZoomPageWidthFactor() const;
    double ZoomPageFactor() const;

    int FirstPage() const { return 1; }
    int CurrentPage() const { return currentPage_; }
    int Pages() const;
    void PrintPage(int page);
    TPreviewPage* PageControl() const { return pageControl_; }

signals:
    void pageChanged();
    void zoomChanged();

private:
    QSizeF sheetInches() const;
    void layoutPage();

    const TRecordingReport* pages_ = nullptr;
    QPointer<QScrollArea> scrollBox_;
    QPointer<TPreviewPage> pageControl_;
    bool active_ = false;
    double zoom_ = 100.0;
    double zoomInc_ = 10.0;
    double marginPercent_ = 2.5;
    int shadowDepth_ = 5;
    int currentPage_ = 1;
};

// The print preview window: the recorded page, zoom buttons and Ok.
class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 2039;

    explicit TPreviewForm(QWidget* parent = nullptr);
    ~TPreviewForm() override;

    // --- handlers
    void prepareToShow();
    void zoomIn();
    void zoomOut();
    void zoomToPageWidth();
    void zoomToPage();
    void zoomByClick(Qt::MouseButton button);
    void handleKey(int key);
    void showPageNumber();
    void redrawPage();
    void closePreview();
    void FormClose();
    // Every way of closing ends with result Ok.
    void done(int result) override;

    QScrollArea* ScrollBox1 = nullptr;
    TFilePreview* FilePreview1 = nullptr;
    QPushButton* CloseButton = nullptr;
    QToolButton* sbZoomIn = nullptr;
    QToolButton* sbZoomOut = nullptr;
    QToolButton* sbZoomPageWidth = nullptr;
    QToolButton* sbZoomPage = nullptr;
    QToolButton* sbPriorPage = nullptr;
    QToolButton* sbNextPage = nullptr;

signals:
    void HelpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool firstActivation_ = true;
    bool closed_ = false;
};

} // namespace cardora
