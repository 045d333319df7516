#include "iconpainter.h"
#include "icowriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QString>
#include <QTextStream>

#include <cstdlib>

namespace {

// The order of the images inside the ICO file.
const QList<int> icoSizes {128, 32, 64};
// The PNG sizes installed into the desktop's hicolor icon theme.
const QList<int> pngSizes {16, 24, 32, 48, 64, 128, 256};

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

bool writeIco(const QString &path)
{
    QList<QImage> images;
    for (const int size : icoSizes)
        images.append(paintIcon(size));
    return writeFile(path, makeIco(images));
}

bool writePngs(const QDir &directory)
{
    for (const int size : pngSizes) {
        if (!paintIcon(size).save(directory.filePath(QStringLiteral("velmora-%1.png").arg(size))))
            return false;
    }
    return true;
}

} // namespace

// velmora_iconmaker --ico <file>    writes the program icon as ICO
// velmora_iconmaker --png <folder>  writes velmora-<size>.png for every theme size
int main(int argc, char **argv)
{
    QTextStream err(stderr);
    if (argc != 3) {
        err << "usage: velmora_iconmaker --ico <file> | --png <folder>\n";
        return EXIT_FAILURE;
    }
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    bool written = false;
    if (mode == QStringLiteral("--ico"))
        written = writeIco(target);
    else if (mode == QStringLiteral("--png"))
        written = QDir().mkpath(target) && writePngs(QDir(target));
    if (!written) {
        err << "velmora_iconmaker: cannot write " << target << '\n';
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
