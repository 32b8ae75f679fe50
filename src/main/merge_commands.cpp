#include "main/merge_commands.h"
#include "core/context_help.h"
#include "core/modal.h"
#include "main/record_navigator.h"
#include "surface/card_panel.h"
#include <QFileInfo>

namespace cardora {

MergeCommands::MergeCommands(CommandContext& context, QObject* parent) : CommandFamily(context, parent)
{
    addAction("mnuMergeData", "&Merge Data...", [this] { mergeData(); });
    addAction("mnuForgetMergeData", "&Forget Merge Data", [this] { forgetMergeData(); })->setEnabled(false);
}

TRecordNavigator* MergeCommands::createNavigator(QWidget* parent)
{
    navigator_ = new TRecordNavigator(parent);
    SetHelpTopic(navigator_, 2040);
    navigator_->OnRecordChosen = [this](int record) { showRecord(record); };
    navigator_->OnShowTyped = [this](bool typed) { context_.panel().SetFieldsShownAsTyped(typed); };
    return navigator_;
}

void MergeCommands::mergeData()
{
    const QString current = context_.merge().file;
    FileDialogRequest request;
    request.title = "Merge Data";
    request.filter = DataFileFilter();
    request.folder = current.isEmpty() ? CardFolder(context_) : QFileInfo(current).absolutePath();
    request.mustExist = true;
    const QString path = ChooseFileName(request);
    if (!path.isEmpty())
        mergeDataFrom(path);
}

bool MergeCommands::mergeDataFrom(const QString& path)
{
    auto data = std::make_unique<TDataFile>();
    const QString error = LoadMergeData(path, context_.panel(), data.get());
    if (!error.isEmpty()) {
        // Data read before stays as it was.
        Inform(error);
        return false;
    }
    MergeSource& merge = context_.merge();
    merge.data = std::move(data);
    merge.file = path;
    const int count = int(merge.data->records.size());
    merge.printRecords = TRecordRange { 1, count };
    navigator_->SetData(QFileInfo(path).fileName(), count);
    action("mnuForgetMergeData")->setEnabled(true);
    showRecord(1);
    return true;
}

void MergeCommands::forgetMergeData()
{
    MergeSource& merge = context_.merge();
    merge.data.reset();
    merge.file.clear();
    navigator_->SetData(QString(), 0);
    action("mnuForgetMergeData")->setEnabled(false);
    context_.panel().SetFieldRecord(std::nullopt); // back to the personal information
}

void MergeCommands::showRecord(int record)
{
    const MergeSource& merge = context_.merge();
    if (!merge.data || merge.data->records.isEmpty())
        return;
    const int index = std::clamp(record, 1, int(merge.data->records.size())) - 1;
    navigator_->SetRecord(index + 1);
    context_.panel().SetFieldRecord(merge.data->records[index]);
}

} // namespace cardora
