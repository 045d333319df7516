#pragma once

#include <QByteArray>
#include <QList>

class QImage;

// Packs images into the Windows ICO format, each one as a 32-bit bitmap
// (not PNG), in the order given. Every image must be square and at most 255
// pixels wide, as the directory stores the edge length in one byte.
QByteArray makeIco(const QList<QImage> &images);
