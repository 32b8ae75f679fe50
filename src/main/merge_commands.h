#pragma once
#include "main/command_context.h"

class QWidget;

namespace cardora {

class TRecordNavigator;

// File › Merge Data... reads a CSV or vCard file whose records fill the
// card's fields; the record navigator shows one of them.
class MergeCommands : public CommandFamily {
    Q_OBJECT
public:
    MergeCommands(CommandContext& context, QObject* parent);
    // The navigator beside the zoom, made once for the window's button row.
    TRecordNavigator* createNavigator(QWidget* parent);

    void mergeData();
    void forgetMergeData();
    // Reads `path` for merging; false (the user told why) when it cannot be used.
    bool mergeDataFrom(const QString& path);
    void showRecord(int record);

private:
    TRecordNavigator* navigator_ = nullptr;
};

} // namespace cardora
