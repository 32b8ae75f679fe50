#include "main/loaded_card.h"
#include "core/rounding.h"
#include "main/card_sidecar.h"
#include "objects/stream_error.h"
#include <QFileInfo>

namespace cardora {

TLoadedCard::TLoadedCard(const TCardLayout& layout)
{
    panel.SetShape(CardShape::Rectangle);
    panel.SetPanelSize(Round(96 * layout.Width), Round(96 * layout.Height));
}

void TLoadedCard::Load(const QString& path)
{
    if (!QFileInfo::exists(path))
        throw EStreamError(QString("Cannot open file %1").arg(path));
    panel.LoadCardFile(path);
    backgroundArt = ReadSidecar(path);
    backSide = ReadSidecarBack(path);
    if (!backgroundArt.isEmpty() && QFileInfo::exists(backgroundArt))
        panel.LoadColorPicture(backgroundArt);
}

} // namespace cardora
