#include "preview/zelpagetextruns.h"

#include "engine/render/canvas/zelfontresolver.h"
#include "engine/render/canvas/zelrecordingcanvas.h"
#include "engine/render/draw/zelpreparedpage.h"

#include <QTransform>
#include <numeric>

namespace {

// The run's cell before rotation: its advances and the face's cell height.
QRectF RunCell(const TzelCanvasText &run)
{
    const auto face = TzelFontResolver::Face(run.Font.Name, run.Font.PixelSize, run.Font.Style);
    const double width = run.Advances.isEmpty() ? face->Width(run.Text)
                                                : std::accumulate(run.Advances.begin(), run.Advances.end(), 0.0);
    return QRectF(run.Origin, QSizeF(width, face->CellHeight()));
}

} // namespace

QList<TzelPageTextRun> zelPageTextRuns(TzelCustomPreviewPages &pages, int index)
{
    RecordingCanvas canvas;
    zelDrawPreparedPage(pages, index, canvas, 1, 1, 0, 0);
    QList<TzelPageTextRun> runs;
    QList<QTransform> saved;
    QTransform transform;
    for (const TzelCanvasRecord &record : canvas.Records()) {
        if (std::holds_alternative<TzelCanvasRecords::Save>(record)) {
            saved.append(transform);
        } else if (std::holds_alternative<TzelCanvasRecords::Restore>(record)) {
            if (!saved.isEmpty())
                transform = saved.takeLast();
        } else if (const auto *move = std::get_if<TzelCanvasRecords::Translate>(&record)) {
            transform.translate(move->Dx, move->Dy);
        } else if (const auto *turn = std::get_if<TzelCanvasRecords::Rotate>(&record)) {
            transform.rotate(-turn->Degrees);
        } else if (const auto *text = std::get_if<TzelCanvasRecords::Text>(&record)) {
            QTransform runTransform = transform;
            if (text->Run.Angle != 0) {
                runTransform.translate(text->Run.Origin.x(), text->Run.Origin.y());
                runTransform.rotate(-text->Run.Angle);
                runTransform.translate(-text->Run.Origin.x(), -text->Run.Origin.y());
            }
            runs.append({text->Run.Text, runTransform.mapRect(RunCell(text->Run))});
        }
    }
    return runs;
}
