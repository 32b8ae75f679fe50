#include "main/designer_assistant.h"
#include "main/main_window.h"
#include "imaging/print_quality.h"
#include "objects/graphic_control.h"
#include "objects/pictures/image_object.h"
#include "surface/card_panel.h"

namespace cardora {

// The assistant beside the card follows the panel's tool and selection.
QWidget* MainWindow::createAssistant(QWidget* parent)
{
    assistant_ = new TDesignerAssistant(parent);
    assistant_->Situation = [this] {
        TAssistantSituation s;
        s.Tool = int(panel_->PanelState());
        s.Objects = static_cast<int>(panel_->Objects().size());
        s.Selected = panel_->SelectionCount();
        if (s.Selected == 1)
            for (TQGraphicControl* o : panel_->Objects())
                if (panel_->IsSelected(o)) {
                    s.SelectedKind = o->ClassName();
                    if (auto* image = qobject_cast<TQImage*>(o))
                        s.PictureNote = PrintQualityText(image->Picture(),
                            image->Stretch() ? QSize(image->Width(), image->Height()) : image->Picture().Size());
                }
        return s;
    };
    assistant_->setVisible(!TDesignerAssistant::RememberedClosed());
    return assistant_;
}

} // namespace cardora
