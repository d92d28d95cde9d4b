// make-app-icons OUT NAME PICTURE...: writes the application icon into a
// hicolor icon theme folder as OUT/<S>x<S>/apps/NAME.png for every size S the
// desktop asks for. Each size is an exact integer enlargement of the largest
// given square picture whose side divides it, pixel for pixel, so the pixel
// art stays sharp; a size that no picture divides is an error.
#include <QDir>
#include <QImage>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

const QImage* bestSource(const std::vector<QImage>& pictures, int size)
{
    const QImage* best = nullptr;
    for (const QImage& picture : pictures)
        if (size % picture.width() == 0 && (!best || picture.width() > best->width()))
            best = &picture;
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-app-icons OUT NAME PICTURE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    std::vector<QImage> pictures;
    for (int i = 3; i < argc; ++i) {
        QImage picture(QString::fromLocal8Bit(argv[i]));
        if (picture.isNull() || picture.width() != picture.height()) {
            std::fprintf(stderr, "make-app-icons: %s is not a square picture\n", argv[i]);
            return 1;
        }
        pictures.push_back(picture.convertToFormat(QImage::Format_ARGB32));
    }
    for (const int size : kSizes) {
        const QImage* source = bestSource(pictures, size);
        if (!source) {
            std::fprintf(stderr, "make-app-icons: no picture divides %d x %d\n", size, size);
            return 1;
        }
        const QImage icon = source->scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, name);
        if (!QDir().mkpath(folder) || !icon.save(path, "PNG")) {
            std::fprintf(stderr, "make-app-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
