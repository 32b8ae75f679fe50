#pragma once
// The small file beside a card (same name, ending .CDB) that remembers its
// background art and the card printed on its back; and the default names of
// new cards.
#include <QString>
#include <QStringList>

namespace cardora {

// The first free default name in the saved folder (BC0001.CDW first).
QString DefaultCardName(const QString& savedFolder);
// Where a card's background art path is remembered.
QString SidecarFileName(const QString& cardPath);
// Writes the sidecar: the background art line, then the back side's card
// file when there is one; deletes it when there is neither. False when
// that failed or the sidecar would be the card itself.
bool WriteSidecar(const QString& cardPath, const QString& artPath, const QString& backPath = QString());
// The background art path the card's sidecar names; empty when there is
// none or it is not a regular file.
QString ReadSidecar(const QString& cardPath);
// The card file printed on the back, the sidecar's second line; empty
// for none (an older one-line sidecar has none).
QString ReadSidecarBack(const QString& cardPath);
// Why a card may not be saved under `cardPath` with its sidecar beside
// it (the sidecar would be the card itself, or one of `inputs`); empty
// when it may.
QString SidecarProblem(const QString& cardPath, const QStringList& inputs = {});

} // namespace cardora
