#include "engine/core/zelshiftengine.h"
#include "model/band/zelmasterdata.h"
#include "model/view/zelmemoview.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>
#include <vector>

// Moving the objects below those that grow or shrink while a container is
// stretched, row after row.

namespace {

// One object of a layout: its design place and how it follows the objects above.
struct Placed
{
    const char *Name = "";
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    TzelShiftMode Mode = smAlways;
};

// The growth of one object in a row.
struct Growth
{
    const char *Name = "";
    double Amount = 0;
};

// What holds the objects: a band with each method, or a plain container.
enum class Holder { Linear, Tree, DontShift, Plain };

// A container 200 units wide holding memos placed as Layout says.
std::unique_ptr<TzelComponent> makeContainer(Holder holder, const std::vector<Placed> &layout)
{
    std::unique_ptr<TzelComponent> container;
    if (holder == Holder::Plain) {
        container = std::make_unique<TzelComponent>();
    } else {
        auto band = std::make_unique<TzelMasterData>();
        band->ShiftEngine = holder == Holder::Linear ? seLinear : holder == Holder::Tree ? seTree : seDontShift;
        container = std::move(band);
    }
    container->SetBounds(0, 0, 200, 100);
    for (const Placed &p : layout) {
        auto *memo = new TzelMemoView(container.get());
        memo->SetName(QString::fromLatin1(p.Name));
        memo->SetBounds(p.Left, p.Top, p.Width, p.Height);
        memo->ShiftMode = p.Mode;
    }
    return container;
}

TzelComponent *child(const TzelComponent &container, const QString &name)
{
    for (TzelComponent *c : container.Objects())
        if (c->Name() == name)
            return c;
    return nullptr;
}

// "A=0 B=45" for the objects named in Expected ("A=.. B=..") in that order.
QString topsOf(const TzelComponent &container, const QString &expected)
{
    QStringList out;
    for (const QString &pair : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const TzelComponent *c = child(container, name);
        out << name + QLatin1Char('=') + (c ? QString::number(c->Top()) : QStringLiteral("?"));
    }
    return out.join(QLatin1Char(' '));
}

// Runs one row as the engine stretches a container: bounds saved, every
// object started with no growth, the grown ones given their height and
// growth, shifted; returns the tops asked for by Expected, then restores
// the design bounds.
QString runRow(TzelShiftEngine &engine, TzelComponent &container, const std::vector<Growth> &growth,
               const QString &expected)
{
    engine.PrepareShiftTree(&container);
    for (TzelComponent *c : container.Objects()) {
        static_cast<TzelReportComponent *>(c)->BeforePrint();
        engine.InitShiftAmount(c, 0);
    }
    for (const Growth &g : growth) {
        TzelComponent *c = child(container, QString::fromLatin1(g.Name));
        engine.InitShiftAmount(c, g.Amount);
        c->SetHeight(c->Height() + g.Amount);
    }
    engine.ShiftObjects(&container);
    const QString tops = topsOf(container, expected);
    for (TzelComponent *c : container.Objects())
        static_cast<TzelReportComponent *>(c)->AfterPrint();
    return tops;
}

// A memo with two objects stacked below it.
const std::vector<Placed> kColumn{{"A", 0, 0, 100, 20}, {"B", 0, 30, 100, 10}, {"C", 0, 50, 100, 10}};

// Below a memo, one object that never shifts and one that shifts only when
// reached, side by side, with an object below both.
const std::vector<Placed> kModes{{"A", 0, 0, 100, 20},
                                 {"D", 0, 30, 40, 10, smDontShift},
                                 {"W", 50, 30, 50, 10, smWhenOverlapped},
                                 {"E", 0, 60, 100, 10}};

// Two columns of different height with an object across both below them.
const std::vector<Placed> kColumns{{"L", 0, 0, 90, 20}, {"R", 100, 0, 90, 40}, {"U", 0, 50, 190, 10}};

struct ShiftCase
{
    const char *What = "";
    Holder In = Holder::Tree;
    std::vector<Placed> Layout;
    std::vector<Growth> Grow;
    const char *Expected = "";
};

TEST(ShiftEngine, MovesObjectsByMethodAndMode)
{
    const std::vector<ShiftCase> cases{
        {"tree: growth moves the stack", Holder::Tree, kColumn, {{"A", 15}}, "A=0 B=45 C=65"},
        {"linear: growth moves the stack", Holder::Linear, kColumn, {{"A", 15}}, "A=0 B=45 C=65"},
        {"tree: only what lies below moves", Holder::Tree, kColumn, {{"B", 5}}, "A=0 B=30 C=55"},
        {"linear: only what lies below moves", Holder::Linear, kColumn, {{"B", 5}}, "A=0 B=30 C=55"},
        {"tree: shrinking pulls up", Holder::Tree, kColumn, {{"A", -8}}, "A=0 B=22 C=42"},
        {"linear: shrinking pulls up", Holder::Linear, kColumn, {{"A", -8}}, "A=0 B=22 C=42"},
        {"no shifting band", Holder::DontShift, kColumn, {{"A", 15}}, "A=0 B=30 C=50"},
        {"plain container shifts", Holder::Plain, kColumn, {{"A", 15}}, "A=0 B=45 C=65"},
        {"tree: growth short of the gap", Holder::Tree, kModes, {{"A", 5}}, "D=30 W=30 E=60"},
        {"tree: growth into the gap", Holder::Tree, kModes, {{"A", 15}}, "D=30 W=35 E=65"},
        {"tree: growth below a fixed object", Holder::Tree, kModes, {{"D", 12}}, "D=30 W=30 E=72"},
        {"linear: any growth moves overlapped ones", Holder::Linear, kModes, {{"A", 5}}, "D=30 W=35 E=60"},
        {"linear: no overlap, no move", Holder::Linear,
         {{"A", 0, 0, 100, 20}, {"W", 120, 30, 50, 10, smWhenOverlapped}}, {{"A", 15}}, "W=30"},
        {"tree: the taller column leads", Holder::Tree, kColumns, {{"L", 10}}, "L=0 R=0 U=50"},
        {"tree: the grown column overtakes", Holder::Tree, kColumns, {{"L", 30}}, "L=0 R=0 U=80"},
        {"tree: both grow", Holder::Tree, kColumns, {{"L", 10}, {"R", 25}}, "L=0 R=0 U=75"},
        {"tree: a lower parent places again, subtree too", Holder::Tree,
         {{"R", 100, 0, 90, 40}, {"L", 0, 5, 90, 15}, {"U", 0, 50, 190, 10}, {"V", 0, 70, 190, 10}},
         {{"L", 30}, {"R", 5}}, "U=80 V=100"},
        {"plain container keeps columns", Holder::Plain, kColumns, {{"L", 10}}, "U=50"},
        {"linear: columns are not told apart", Holder::Linear, kColumns, {{"L", 10}}, "U=60"},
        {"linear: a shorter column does not undo a taller one", Holder::Linear,
         {{"A", 0, 0, 90, 50}, {"D", 100, 1, 90, 20}, {"C", 0, 60, 190, 10}}, {{"A", 30}}, "C=90"},
        {"tree: only objects across the width", Holder::Tree,
         {{"A", -60, 0, 160, 20}, {"X", -50, 30, 40, 10}, {"Y", -20, 30, 30, 10}}, {{"A", 15}}, "X=30 Y=45"},
        {"tree: lines on a memo's edges follow it", Holder::Tree,
         {{"A", 0, 0, 100, 20},
          {"M", 0, 30, 100, 10},
          {"T", 0, 30, 100, 0},
          {"U", 0, 40, 100, 0},
          {"C", 0, 50, 100, 10}},
         {{"A", 15}, {"M", 5}}, "T=45 M=45 U=60 C=70"},
        {"tree: a memo at the container's top pushes", Holder::Tree,
         {{"A", 0, 0, 100, 0.5}, {"B", 0, 0.5, 100, 10}}, {{"A", 10}}, "B=10.5"},
    };
    for (const ShiftCase &c : cases) {
        SCOPED_TRACE(c.What);
        TzelShiftEngine engine;
        const auto container = makeContainer(c.In, c.Layout);
        EXPECT_EQ(runRow(engine, *container, c.Grow, QString::fromLatin1(c.Expected)),
                  QString::fromLatin1(c.Expected));
    }
}

// The structure is built once; every row starts from the design places.
TEST(ShiftEngine, RowsReuseTheStructure)
{
    struct Row
    {
        double Growth = 0;
        const char *Expected = "";
    };
    const std::vector<Placed> layout{
        {"A", 0, 0, 100, 20}, {"W", 0, 30, 100, 10, smWhenOverlapped}, {"C", 0, 50, 100, 10}};
    const std::vector<std::pair<Holder, std::vector<Row>>> runs{
        {Holder::Tree,
         {{15, "W=35 C=55"}, {5, "W=30 C=50"}, {-10, "W=20 C=40"}, {0, "W=30 C=50"}, {12, "W=32 C=52"}}},
        {Holder::Linear, {{15, "W=45 C=65"}, {5, "W=35 C=55"}, {-10, "W=20 C=40"}, {0, "W=30 C=50"}}},
    };
    for (const auto &[holder, rows] : runs) {
        SCOPED_TRACE(holder == Holder::Tree ? "tree" : "linear");
        TzelShiftEngine engine;
        const auto band = makeContainer(holder, layout);
        for (const Row &row : rows)
            EXPECT_EQ(runRow(engine, *band, {{"A", row.Growth}}, QString::fromLatin1(row.Expected)),
                      QString::fromLatin1(row.Expected))
                << "growth " << row.Growth;
    }
}

TEST(ShiftEngine, ChangesBetweenRowsAreNoticed)
{
    for (const Holder holder : {Holder::Tree, Holder::Linear}) {
        SCOPED_TRACE(holder == Holder::Tree ? "tree" : "linear");
        TzelShiftEngine engine;
        const auto band = makeContainer(holder, kColumn);
        const auto addMemo = [&](const char *name, double top) {
            auto *memo = new TzelMemoView(band.get());
            memo->SetName(QString::fromLatin1(name));
            memo->SetBounds(0, top, 100, 10);
        };
        EXPECT_EQ(runRow(engine, *band, {{"A", 15}}, "B=45 C=65"), "B=45 C=65");
        // C followed B; with B freed it follows A. D takes B's place in the
        // list of children, so only the freed object tells.
        delete child(*band, QStringLiteral("B"));
        addMemo("D", 70);
        EXPECT_EQ(runRow(engine, *band, {{"A", 15}}, "C=65 D=85"), "C=65 D=85");
        // C moves to another container and E takes its place.
        const auto other = makeContainer(holder, {});
        child(*band, QStringLiteral("C"))->SetParent(other.get());
        addMemo("E", 90);
        EXPECT_EQ(runRow(engine, *band, {{"A", 15}}, "D=85 E=105"), "D=85 E=105");
        EXPECT_EQ(topsOf(*other, "C=50"), "C=50");
        // An object added between rows is taken in.
        addMemo("F", 110);
        EXPECT_EQ(runRow(engine, *band, {{"A", 15}}, "E=105 F=125"), "E=105 F=125");
    }

    // Containers freed and made again, likely at one address, get structures
    // of their own: a method or a layout of a freed one never carries over.
    TzelShiftEngine engine;
    EXPECT_EQ(runRow(engine, *makeContainer(Holder::Tree, kColumns), {{"L", 30}}, "U=80"), "U=80");
    EXPECT_EQ(runRow(engine, *makeContainer(Holder::Tree, kColumn), {{"A", 15}}, "B=45 C=65"), "B=45 C=65");
    EXPECT_EQ(runRow(engine, *makeContainer(Holder::Linear, kColumns), {{"L", 10}}, "U=60"), "U=60");
}

TEST(ShiftEngine, ClearForgetsTheStructures)
{
    TzelShiftEngine engine;
    const auto band = makeContainer(Holder::Tree, kColumn);
    EXPECT_EQ(runRow(engine, *band, {{"A", 15}}, "C=65"), "C=65");
    // C moves out from under the others, as between two builds in the designer.
    child(*band, QStringLiteral("C"))->SetLeft(120);
    engine.Clear();
    EXPECT_EQ(runRow(engine, *band, {{"A", 15}}, "B=45 C=50"), "B=45 C=50");
}

} // namespace
