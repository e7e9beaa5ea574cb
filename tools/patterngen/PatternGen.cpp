// velmora-patterngen SHAPES OUTFOLDER [--preview FILE.png]
//
// Reads tab shapes written as knots along a chord from (0, 0) to (100, 0) and writes one pattern
// file per shape. Every knot gets one tangent angle, shared by the arc that ends there and the
// arc that starts there, so the outline has no kinks. A knot line is "x y" (tangent: the bisector
// of the directions to its neighbours; the two ends default to the chord) or "x y @degrees".
#include "engine/GP_Path.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace {
constexpr double kChord = 100;
// Beyond this the Hermite arc of a segment turns too steeply against its chord to look round.
constexpr double kSteepestRelativeDegrees = 72;
// Corners jitter by size·0.5·tan(0.785 − m); a tab this steep would make that meaningless.
constexpr double kSteepestTabAngle = 0.74;

struct Knot
{
    double x = 0, y = 0;
    std::optional<double> angle; // radians
};

struct Shape
{
    int number = 0;
    QString name;
    std::vector<Knot> knots;
};

double Radians(double degrees) { return degrees * M_PI / 180.0; }
double Degrees(double radians) { return radians * 180.0 / M_PI; }

// Angle difference folded into -π..π.
double Turn(double a)
{
    while (a > M_PI)
        a -= 2 * M_PI;
    while (a < -M_PI)
        a += 2 * M_PI;
    return a;
}

bool ReadShapes(const QString& fileName, std::vector<Shape>& shapes)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(fileName));
        return false;
    }
    QTextStream in(&file);
    Shape* current = nullptr;
    int lineNumber = 0;
    while (!in.atEnd()) {
        ++lineNumber;
        QString line = in.readLine();
        line = line.left(line.indexOf(QLatin1Char('#')) < 0 ? line.size() : line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words[0] == QLatin1String("pattern")) {
            shapes.push_back(Shape{words.value(1).toInt(), words.mid(2).join(QLatin1Char(' ')), {}});
            current = &shapes.back();
            continue;
        }
        bool okX = false, okY = false;
        Knot knot{words.value(0).toDouble(&okX), words.value(1).toDouble(&okY), std::nullopt};
        if (!current || !okX || !okY) {
            std::fprintf(stderr, "%s:%d: expected \"x y [@degrees]\"\n", qPrintable(fileName), lineNumber);
            return false;
        }
        if (words.size() > 2 && words[2].startsWith(QLatin1Char('@')))
            knot.angle = Radians(words[2].mid(1).toDouble());
        current->knots.push_back(knot);
    }
    return true;
}

double KnotTangent(const std::vector<Knot>& knots, size_t i)
{
    if (knots[i].angle)
        return *knots[i].angle;
    if (i == 0 || i + 1 == knots.size())
        return 0;
    const double inX = knots[i].x - knots[i - 1].x, inY = knots[i].y - knots[i - 1].y;
    const double outX = knots[i + 1].x - knots[i].x, outY = knots[i + 1].y - knots[i].y;
    const double inLength = std::hypot(inX, inY), outLength = std::hypot(outX, outY);
    return std::atan2(inY / inLength + outY / outLength, inX / inLength + outX / outLength);
}

bool BuildPattern(const Shape& shape, CGP_Path& pattern)
{
    const std::vector<Knot>& knots = shape.knots;
    if (knots.size() < 2 || knots.front().x != 0 || knots.front().y != 0 || knots.back().x != kChord
        || knots.back().y != 0) {
        std::fprintf(stderr, "pattern %d: must run from (0, 0) to (%g, 0)\n", shape.number, kChord);
        return false;
    }
    std::vector<double> tangents;
    for (size_t i = 0; i < knots.size(); ++i)
        tangents.push_back(KnotTangent(knots, i));
    for (size_t i = 0; i + 1 < knots.size(); ++i) {
        GP_PathSegment s;
        s.x1 = knots[i].x;
        s.y1 = knots[i].y;
        s.x2 = knots[i + 1].x;
        s.y2 = knots[i + 1].y;
        s.L = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
        s.alpha = std::atan2(s.y2 - s.y1, s.x2 - s.x1);
        s.beta = s.alpha + Turn(tangents[i] - s.alpha);
        s.gamma = s.alpha + Turn(tangents[i + 1] - s.alpha);
        s.UpdateSlopes();
        const double steepest = std::max(std::abs(s.beta - s.alpha), std::abs(s.gamma - s.alpha));
        if (s.L <= 0 || Degrees(steepest) > kSteepestRelativeDegrees) {
            std::fprintf(stderr, "pattern %d: arc %zu turns %.0f degrees against its chord; add a knot\n",
                         shape.number, i + 1, Degrees(steepest));
            return false;
        }
        pattern.m_segments.push_back(s);
    }
    pattern.m_maxTabAngle = GP_MaxTabAngle(pattern);
    if (pattern.m_maxTabAngle > kSteepestTabAngle) {
        std::fprintf(stderr, "pattern %d: tab too steep (%.3f rad)\n", shape.number, pattern.m_maxTabAngle);
        return false;
    }
    return true;
}

void DrawPreview(const std::vector<CGP_Path>& patterns, const std::vector<Shape>& shapes, const QString& fileName)
{
    constexpr int kCell = 240, kColumns = 4;
    const int rows = (int(patterns.size()) + kColumns - 1) / kColumns;
    QImage image(kCell * kColumns, kCell * rows, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 48));
    QPainter painter(&image);
    for (size_t i = 0; i < patterns.size(); ++i) {
        const int cx = int(i % kColumns) * kCell, cy = int(i / kColumns) * kCell;
        painter.setPen(QColor(200, 200, 200));
        painter.drawText(cx + 6, cy + 16, QStringLiteral("%1 %2  m=%3").arg(shapes[i].number).arg(shapes[i].name)
                                              .arg(patterns[i].m_maxTabAngle, 0, 'f', 3));
        // One tab each way on a horizontal chord, one down a vertical chord.
        const auto up = MakeEdge(&patterns[i], 0, cx + 20, cy + 90, cx + 220, cy + 90);
        const auto down = MakeEdge(&patterns[i], 1, cx + 20, cy + 180, cx + 220, cy + 180);
        painter.setPen(QColor(255, 255, 255));
        DrawEdge(up.get(), painter, 0, 0);
        painter.setPen(QColor(255, 200, 80));
        DrawEdge(down.get(), painter, 0, 0);
    }
    image.save(fileName);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: velmora-patterngen SHAPES OUTFOLDER [--preview FILE.png]\n");
        return 2;
    }
    std::vector<Shape> shapes;
    if (!ReadShapes(args[1], shapes))
        return 2;
    if (shapes.size() != kPatternCount) {
        std::fprintf(stderr, "expected %d shapes, found %zu\n", kPatternCount, shapes.size());
        return 2;
    }
    std::vector<CGP_Path> patterns(shapes.size());
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (shapes[i].number != int(i) + 1) {
            std::fprintf(stderr, "shape %zu is numbered %d\n", i + 1, shapes[i].number);
            return 2;
        }
        if (!BuildPattern(shapes[i], patterns[i]))
            return 2;
        QFile out(args[2] + QLatin1Char('/') + GP_PatternFileName(int(i)));
        if (!out.open(QIODevice::WriteOnly) || !SavePattern(patterns[i], &out)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.fileName()));
            return 2;
        }
        std::printf("%-12s %2zu arcs  max tab angle %.3f  %s\n", qPrintable(GP_PatternFileName(int(i))),
                    patterns[i].m_segments.size(), patterns[i].m_maxTabAngle, qPrintable(shapes[i].name));
    }
    const int preview = int(args.indexOf(QStringLiteral("--preview")));
    if (preview > 0 && preview + 1 < args.size())
        DrawPreview(patterns, shapes, args[preview + 1]);
    return 0;
}
