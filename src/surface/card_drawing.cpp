#include "surface/card_drawing.h"
#include "core/window_placement.h"
#include "imaging/picture.h"
#include "objects/graphic_control.h"
#include "report/picture_printing.h"
#include "report/report.h"
#include "surface/card_view.h"
#include <QCoreApplication>

namespace cardora {

TCardDrawer::TCardDrawer(CardView& panel, QSizeF cardInches)
    : panel_(panel), card_(cardInches), wasPrinting_(panel.Printing()), panelBleed_(panel.Bleed()),
      outerJob_(TQGraphicControl::BeginPrintJob())
{
    // Objects print as the card holds them.
    panel_.SetPrinting(true);
}

TCardDrawer::~TCardDrawer()
{
    TQGraphicControl::EndPrintJob(outerJob_);
    panel_.SetPrinting(wasPrinting_);
    if (panel_.Bleed() != panelBleed_)
        panel_.SetBleed(panelBleed_);
}

void TCardDrawer::SetBleed(double inches)
{
    bleed_ = inches > 0 ? inches : 0.0;
    panel_.SetBleed(bleed_ * ScreenPixelsPerInch());
    // Objects may draw otherwise with the bleed: pictures kept so far go.
    TQGraphicControl::EndPrintJob(outerJob_);
    outerJob_ = TQGraphicControl::BeginPrintJob();
}

void TCardDrawer::SetArt(const TPicture* art, QSizeF inches)
{
    art_ = art && art->HasGraphic() ? art : nullptr;
    artInches_ = inches;
}

void TCardDrawer::Draw(TReport& report, double x, double y) const
{
    report.BeginCard(x - bleed_, y - bleed_, x + card_.width() + bleed_, y + card_.height() + bleed_);
    if (art_) {
        TReport::ObjectScope scope(report);
        // Art that cannot be drawn is left out; the card still prints.
        try {
            PrintPicture(report, x, y, x + artInches_.width(), y + artInches_.height(), *art_);
        } catch (...) {
        }
    }
    const double ppi = ScreenPixelsPerInch();
    for (TQGraphicControl* o : panel_.Objects()) {
        if (!o->Visible())
            continue;
        o->PrepareToDraw();
        const QRect b = o->BoundsRect();
        const QRectF box(QPointF(x + b.left() / ppi, y + b.top() / ppi), QSizeF(b.width() / ppi, b.height() / ppi));
        TReport::ObjectScope scope(report, box);
        try {
            o->PrintAt(report, x, y);
        } catch (...) {
        }
    }
    report.EndCard();
}

TMergedRecordScope::TMergedRecordScope(CardView& panel)
    : panel_(panel), shown_(panel.FieldRecord()), typed_(panel.FieldsShownAsTyped())
{
    panel_.SetFieldsShownAsTyped(false);
}

TMergedRecordScope::~TMergedRecordScope()
{
    panel_.SetFieldsShownAsTyped(typed_);
    panel_.SetFieldRecord(std::move(shown_));
}

void TMergedRecordScope::Show(const TFieldRecord& record) { panel_.SetFieldRecord(record); }

} // namespace cardora
