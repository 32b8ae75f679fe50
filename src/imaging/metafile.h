#pragma once
#include <QByteArray>
#include <QRectF>
#include <QSize>

class QPainter;

namespace cardora {

enum class MetafileFormat { None, Wmf, PlaceableWmf, Emf };

// What the header of a Windows metafile or enhanced metafile says.
struct MetafileHeader {
    MetafileFormat format = MetafileFormat::None;
    // The picture's frame in the metafile's own logical (WMF) or reference
    // device (EMF) units; playback maps it onto the target rectangle.
    QRectF frame;
    // Natural size in pixels at 96 per inch.
    QSize naturalSize;
};

// Reads and checks the header; format None when the bytes are not a metafile.
MetafileHeader ReadMetafileHeader(const QByteArray& bytes);

// Plays the records onto the painter, the picture's frame stretched to the
// target. Records the player does not know, and records whose lengths do not
// fit what remains, are skipped.
void PlayMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target);

} // namespace cardora
