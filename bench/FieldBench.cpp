// How fast the field answers the player, on a 1600 x 1200 picture cut into pieces of 43 pixels
// (999 pieces) with bevel, rotation and shadows, scattered over a 1920 x 1200 view:
// - a drag step: the held piece moved and the rectangle it dirtied painted again at once;
// - the join pass of a drop among 2000 loose pieces, none of which fits;
// - the whole field painted.
#include "engine/GP_Path.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"
#include "engine/PieceBuilderThread.h"
#include "skin/Skin.h"
#include "view/FieldPainter.h"
#include "view/model/BoardBackgrounds.h"
#include "view/model/FieldGeometry.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PlaySession.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr float kPieceSize = 43;
const QRect kView(0, 0, 1920, 1200);

QString SourceRoot()
{
    return QStringLiteral(VELMORA_SOURCE_DIR);
}

// A photograph when the system has one (Debian's mate-backgrounds), else a picture with a
// photograph's fine detail.
QImage BenchPicture()
{
    QImage photo(QStringLiteral("/usr/share/backgrounds/mate/nature/Garden.jpg"));
    if (!photo.isNull())
        return photo.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_ARGB32);
    QImage picture(kWidth, kHeight, QImage::Format_ARGB32);
    uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = static_cast<int>((noise >> 16) & 31);
            picture.setPixel(x, y, qRgb((x / 7 + n) & 255, (y / 5 + n) & 255, ((x + y) / 11 + n) & 255));
        }
    }
    return picture;
}

struct NoWindow : CPlaySessionHost
{
    void RepaintNow(const QRect&) override {}
    void Invalidate() override {}
    void PlaySound(int) override {}
    void SetFieldCursor(FieldCursor) override {}
    void SetCapture(bool) override {}
    void SetTrayButtonFull(bool) override {}
    void TraysChanged() override {}
    void StartViewTimer(int, int) override {}
    void StopViewTimer(int) override {}
    void ClosePauseBox() override {}
    void PuzzleSolved() override {}
};

// The large puzzle built once, scattered and shown as the game shows it.
struct Game
{
    Game()
    {
        static CGP_Path patterns[kPatternCount];
        loaded = LoadPatterns(patterns, SourceRoot() + QStringLiteral("/resources/game/PATTERNS")) == kPatternCount;
        puzzle.reset(new CGP_Puzzle);
        puzzle->m_pImage.reset(new QImage(BenchPicture()));
        puzzle->m_nBrightness = 110;
        puzzle->m_fPieceSize = kPieceSize;
        puzzle->m_bOptions[CGP_Puzzle::kOptionBevel] = true;
        puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
        puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = true;
        GP_srand(1);
        puzzle->CreateGrid(&patterns[0], true, true);
        CGP_PieceWorkers(GP_PieceBuilderCount()).BuildPieces(*puzzle, nullptr);
        const QRect field = FieldGeometry::FieldRect(kView, GameMode::Play, 0);
        puzzle->SpreadPieces(field);
        session = std::make_unique<PlaySession>(puzzle, host);
        session->SetGeometry(field, FieldGeometry::HandleSide(FieldGeometry::LayoutRect(kView)));

        WINSKIN::Skin skin;
        skin.Load(SourceRoot() + QStringLiteral("/resources/game/SKINS Nox/Advanced.skn"));
        const QList<QImage> textures = FieldPainter::SkinTextures(&skin);
        CBoardBackgrounds backgrounds;
        backgrounds.Rebuild(CGP_SettingsStore::DefaultColor(0, GP_Table::Board),
                            CBoardBackgrounds::TextureAt(textures, CGP_SettingsStore::DefaultTexture(0, GP_Table::Board)),
                            CGP_SettingsStore::DefaultColor(0, GP_Table::Trays),
                            CBoardBackgrounds::TextureAt(textures, CGP_SettingsStore::DefaultTexture(0, GP_Table::Trays)));
        painter.SetBackgrounds(backgrounds.Board(), backgrounds.Trays());
        screen = QImage(kView.size(), QImage::Format_ARGB32_Premultiplied);
    }

    bool loaded = false;
    NoWindow host;
    boost::shared_ptr<CGP_Puzzle> puzzle;
    std::unique_ptr<PlaySession> session;
    FieldPainter painter;
    QImage screen;
};

Game& TheGame()
{
    static Game game;
    return game;
}

void DragStep(benchmark::State& state)
{
    Game& game = TheGame();
    if (!game.loaded) {
        state.SkipWithError("no patterns");
        return;
    }
    // The topmost piece, held by its middle.
    const GP_GroupPtr group = game.puzzle->m_pGroups->Snapshot().front();
    const QRect bounds = game.puzzle->GroupBounds(group, false);
    game.puzzle->Pick(bounds.center(), CGP_PuzzlePieceUnion::kField);
    int step = 0;
    for (auto _ : state) {
        // Back and forth, so the piece stays where the other pieces are.
        const int dx = (step++ & 8) ? -3 : 3;
        const QRect dirty = game.puzzle->MoveBy(dx, 2 - (step & 4));
        QPainter painter(&game.screen);
        painter.setClipRect(dirty);
        game.painter.PaintField(painter, *game.session, dirty);
        benchmark::DoNotOptimize(game.screen.constBits());
    }
    game.puzzle->Drop(game.session->Controller().Areas());
}

void DropJoinPass(benchmark::State& state)
{
    // 2000 loose pieces of 40 x 40 on a 2400 x 2000 field, none beside its neighbour.
    boost::shared_ptr<CGP_Puzzle> puzzle(new CGP_Puzzle);
    puzzle->m_nColumns = 50;
    puzzle->m_nRows = 40;
    puzzle->m_nPieceCount = 2000;
    puzzle->m_fPieceSize = 40;
    puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = false;
    puzzle->m_pGroups.reset(new GP_GroupDeque);
    for (int i = 0; i < 2000; ++i) {
        GP_PiecePtr piece(new CGP_PuzzlePiece);
        piece->m_nColumn = i % 50;
        piece->m_nRow = i / 50;
        piece->m_nIndex = i;
        for (int r = 0; r < CGP_PuzzlePiece::kSteps; ++r) {
            piece->m_nWidths[r] = piece->m_nHeights[r] = 40;
            piece->m_nHomeX[r] = piece->m_nColumn * 40;
            piece->m_nHomeY[r] = piece->m_nRow * 40;
        }
        // Shuffled over the field: neighbours land far apart.
        piece->m_nX = 10 + (i * 37 % 50) * 47;
        piece->m_nY = 60 + (i * 53 % 40) * 48;
        GP_GroupPtr group(new CGP_PuzzlePieceUnion);
        group->m_pieces.push_back(piece);
        puzzle->m_pGroups->PushBack(group);
    }
    GP_FieldAreas areas;
    areas.field = QRect(0, 50, 2400, 1950);
    const GP_GroupPtr held = puzzle->m_pGroups->Snapshot()[1000];
    bool joined = false;
    for (auto _ : state) {
        puzzle->m_pHeldGroup = held;
        joined |= puzzle->Drop(areas);
    }
    if (joined)
        state.SkipWithError("a piece joined");
}

void FullFieldPaint(benchmark::State& state)
{
    Game& game = TheGame();
    if (!game.loaded) {
        state.SkipWithError("no patterns");
        return;
    }
    for (auto _ : state) {
        QPainter painter(&game.screen);
        game.painter.PaintView(painter, *game.session, kView);
        benchmark::DoNotOptimize(game.screen.constBits());
    }
    state.counters["pieces"] = static_cast<double>(game.puzzle->m_pGroups->Size());
}
} // namespace

BENCHMARK(DragStep)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(DropJoinPass)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FullFieldPaint)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
