#include "chart/chartmenu.h"

#include "chart/chartcopy.h"
#include "chart/exercisemenu.h"
#include "chart/graphicsscene.h"
#include "chart/lineimpedancedialog.h"
#include "chart/markeritem.h"

#include <QActionGroup>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QKeySequence>

#include <array>
#include <optional>
#include <utility>

ChartMenu::ChartMenu(GraphicsScene &scene, QGraphicsView &view)
    : QMenu(&view)
{
    addModes(scene);
    addLineImpedance(scene, view);
    addSeparator();
    QAction *undo = addAction(tr("Letztes Element zurücknehmen"), this,
                              [&scene] { scene.undoMatchingElement(); });
    // The chart's keyboard takes the key; the menu shows it.
    undo->setShortcut(QKeySequence::Undo);
    undo->setShortcutContext(Qt::WidgetShortcut);
    undo->setEnabled(!scene.matchingPath().isEmpty());
    QAction *clear =
        addAction(tr("Anpassung löschen"), this, [&scene] { scene.clearMatchingPath(); });
    clear->setEnabled(!scene.matchingPath().isEmpty());
    addSeparator();
    addBand(scene);
    addExerciseMenu(*this, scene, view);
    addSeparator();
    addAction(tr("Diagramm kopieren"), this,
              [&scene, &view] { ChartCopy::toClipboard(scene, view); });
}

void ChartMenu::addModes(GraphicsScene &scene)
{
    using Move = GraphicsScene::Move;
    const std::array<std::pair<QString, std::optional<Move>>, 4> modes {{
        {tr("Frei bewegen"), std::nullopt},
        {tr("Serienelement (R konstant)"), Move::Series},
        {tr("Parallelelement (G konstant)"), Move::Shunt},
        {tr("Leitung (|Γ| konstant)"), Move::Line},
    }};
    auto *group = new QActionGroup(this);
    for (const auto &[text, move] : modes) {
        QAction *action =
            addAction(text, this, [&scene, move = move] { scene.setMatchingMode(move); });
        action->setCheckable(true);
        action->setChecked(scene.matchingMode() == move);
        group->addAction(action);
    }
    addRealisations(scene);
    QAction *snapping =
        addAction(tr("Einrasten"), this, [&scene](bool on) { scene.setSnapping(on); });
    snapping->setCheckable(true);
    snapping->setChecked(scene.snapping());
}

// The lines that held moves make from now on: of their own impedance, or of
// the chart's Z0, which they then follow.
void ChartMenu::addLineImpedance(GraphicsScene &scene, QGraphicsView &view)
{
    addAction(tr("Leitungsimpedanz …"), this, [&scene, &view] {
        if (const auto ohms = LineImpedanceDialog::ask(scene.referenceImpedance().real(), &view))
            scene.setLineImpedance(*ohms);
    });
    QAction *followZ0 =
        addAction(tr("Leitungsimpedanz = Z0"), this, [&scene] { scene.setLineImpedance(0.0); });
    followZ0->setCheckable(true);
    followZ0->setChecked(!(scene.lineImpedance() > 0.0));
}

// A submenu for each kind of element; a choice renames the elements already
// drawn and is no step that Ctrl+Z takes back.
void ChartMenu::addRealisations(GraphicsScene &scene)
{
    using Move = GraphicsScene::Move;
    using Electrics::Realisation;
    const std::array<std::pair<QString, Move>, 2> kinds {{
        {tr("Parallelelemente als"), Move::Shunt},
        {tr("Serienelemente als"), Move::Series},
    }};
    const std::array<std::pair<QString, Realisation>, 3> realisations {{
        {tr("L und C"), Realisation::LumpedLC},
        {tr("Stichleitung, leerlaufend"), Realisation::OpenStub},
        {tr("Stichleitung, kurzgeschlossen"), Realisation::ShortStub},
    }};
    for (const auto &[title, move] : kinds) {
        QMenu *submenu = addMenu(title);
        auto *group = new QActionGroup(submenu);
        for (const auto &[text, realisation] : realisations) {
            QAction *action =
                submenu->addAction(text, this, [&scene, move = move, realisation = realisation] {
                    scene.setRealisation(move, realisation);
                });
            action->setCheckable(true);
            action->setChecked(scene.realisation(move) == realisation);
            group->addAction(action);
        }
    }
}

namespace {

// A submenu of exclusive, checkable entries, the current value's checked.
template<typename Value, std::size_t count, typename Choose>
void addChoices(QMenu &menu, const QString &title, const std::array<QString, count> &texts,
                const std::array<Value, count> &values, Value current, Choose choose)
{
    QMenu *submenu = menu.addMenu(title);
    auto *group = new QActionGroup(submenu);
    for (std::size_t i = 0; i < count; ++i) {
        const Value value = values[i];
        QAction *action = submenu->addAction(texts[i], submenu, [choose, value] { choose(value); });
        action->setCheckable(true);
        action->setChecked(current == value);
        group->addAction(action);
    }
}

} // namespace

void ChartMenu::addBand(GraphicsScene &scene)
{
    constexpr double percent = 100.0;
    addChoices(*this, tr("Frequenzband"),
               std::array<QString, bandPercents.size()> {tr("aus"), tr("±5 %"), tr("±10 %"),
                                                         tr("±20 %"), tr("±50 %")},
               bandPercents, scene.bandSpan() * percent,
               [&scene](double span) { scene.setBandSpan(span / percent); });
    addChoices(*this, tr("Last über der Frequenz"),
               std::array<QString, loadCircuits.size()> {tr("als Reihenschaltung"),
                                                         tr("als Parallelschaltung"),
                                                         tr("frequenzunabhängig")},
               loadCircuits, scene.loadCircuit(),
               [&scene](Electrics::LoadCircuit circuit) { scene.setLoadCircuit(circuit); });
    addChoices(*this, tr("Q-Kreise"),
               std::array<QString, qCircleValues.size()> {tr("aus"), tr("0,5"), tr("1"), tr("2"),
                                                          tr("5"), tr("10")},
               qCircleValues, scene.qCircles(), [&scene](double q) { scene.setQCircles(q); });
}

void ChartMenu::popUp(GraphicsScene &scene, QGraphicsView &view, const QPoint &globalPos)
{
    // The menu takes the mouse: a drag under way ends here, as on a release.
    if (QGraphicsItem *grabber = scene.mouseGrabberItem())
        grabber->ungrabMouse();
    ChartMenu menu(scene, view);
    menu.exec(globalPos);
}

void ChartMenu::popUpAtMarker(GraphicsScene &scene, QGraphicsView &view)
{
    const QPointF marker = scene.markerGraphic() ? scene.markerGraphic()->pos() : QPointF();
    popUp(scene, view, view.viewport()->mapToGlobal(view.mapFromScene(marker)));
}
