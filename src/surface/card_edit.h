#pragma once
#include <QByteArray>
#include <QRect>
#include <QString>
#include <QUndoCommand>
#include <map>
#include <memory>
#include <vector>

namespace cardora {

class CardView;
class TQGraphicControl;

// The card as an edit found it: the stacking order, and each object's state
// as the card file holds it, or only its bounds for edits that move
// and resize and nothing else. Objects are known by the panel's edit keys,
// which survive an object being freed and read back.
struct TCardSnapshot {
    struct State {
        QString name;
        QByteArray bytes;
        QRect bounds;
    };
    bool boundsOnly = false;
    std::vector<int> order;
    std::map<int, State> states;

    // Every object, in full.
    static TCardSnapshot Take(CardView& panel);
    // The bounds of the given objects only.
    static TCardSnapshot TakeBounds(CardView& panel, const std::vector<TQGraphicControl*>& objects);
};

// One undoable step: what an edit changed, object by object. Only the
// objects that changed are kept, and for moves only their bounds, so a card
// with a large picture is not copied per nudge.
class TCardEditCommand : public QUndoCommand {
public:
    // Runs of arrow-key nudges of the same objects merge into one step.
    static constexpr int kNudgeId = 0x4e44;

    struct Change {
        int key = 0;
        QString name;
        QByteArray before, after; // empty: the object did not exist then
        bool boundsOnly = false;
        QRect boundsBefore, boundsAfter;
    };

    // Null when the two snapshots show no change. `text` is refined with the
    // number of objects for Delete, Cut and Paste of several.
    static std::unique_ptr<TCardEditCommand> FromSnapshots(CardView& panel, const QString& text,
        const TCardSnapshot& before, const TCardSnapshot& after, int mergeId = -1);

    void undo() override;
    void redo() override;
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override;

    const std::vector<Change>& Changes() const { return changes_; }
    // Bytes of object state this step keeps.
    qsizetype KeptBytes() const;

private:
    TCardEditCommand(CardView& panel, const QString& text, int mergeId);
    void apply(bool after);

    CardView& panel_;
    int mergeId_;
    std::vector<Change> changes_;
    std::vector<int> orderBefore_, orderAfter_;
    // The edit was already made when the command is pushed.
    bool skipRedo_ = true;
};

} // namespace cardora
