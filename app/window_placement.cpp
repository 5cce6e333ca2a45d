#include "app/window_placement.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace WindowPlacementFile {

namespace {

constexpr char kHeader[] = "ecusetup window";
// No screen is larger; a bigger number is a damaged file.
constexpr int kLargestEdge = 100000;
constexpr qint64 kLongestFile = 256;

bool InRange(int v, int low, int high) {
    return v >= low && v <= high;
}

} // namespace

QString PathBesideIni(const QString& iniPath) {
    const QFileInfo ini(iniPath);
    return ini.path() + QLatin1Char('/') + ini.completeBaseName() + QStringLiteral(".window");
}

std::optional<WindowPlacement> Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLongestFile)
        return std::nullopt;
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    if (lines.size() != 2 || lines[0].trimmed() != kHeader)
        return std::nullopt;
    const QList<QByteArray> fields = lines[1].simplified().split(' ');
    if (fields.size() != 5)
        return std::nullopt;
    int v[5] = {};
    for (int i = 0; i < 5; ++i) {
        bool ok = false;
        v[i] = fields[i].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (!InRange(v[0], -kLargestEdge, kLargestEdge) || !InRange(v[1], -kLargestEdge, kLargestEdge) ||
        !InRange(v[2], 1, kLargestEdge) || !InRange(v[3], 1, kLargestEdge) || !InRange(v[4], 0, 1))
        return std::nullopt;
    return WindowPlacement{QRect(v[0], v[1], v[2], v[3]), v[4] == 1};
}

bool Write(const QString& path, const WindowPlacement& p) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = QByteArray(kHeader) + '\n' + QByteArray::number(p.normal.x()) + ' ' +
                            QByteArray::number(p.normal.y()) + ' ' + QByteArray::number(p.normal.width()) +
                            ' ' + QByteArray::number(p.normal.height()) + ' ' + (p.maximised ? '1' : '0') +
                            '\n';
    return file.write(text) == text.size() && file.commit();
}

QRect FitInside(QRect wanted, QRect available, QSize minimum) {
    const QSize size(std::max(minimum.width(), std::min(wanted.width(), available.width())),
                     std::max(minimum.height(), std::min(wanted.height(), available.height())));
    const auto place = [](int at, int length, int low, int room) {
        return std::max(low, std::min(at, low + room - length));
    };
    return QRect(QPoint(place(wanted.x(), size.width(), available.x(), available.width()),
                        place(wanted.y(), size.height(), available.y(), available.height())),
                 size);
}

} // namespace WindowPlacementFile
