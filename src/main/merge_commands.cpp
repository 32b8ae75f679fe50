#include "core/modal.h"
#include "main/main_window.h"
#include "main/record_navigator.h"
#include "surface/card_panel.h"
#include <QAction>
#include <QFileInfo>

namespace cardora {

void MainWindow::mnuMergeDataClick()
{
    FileDialogRequest request;
    request.title = "Merge Data";
    request.filter = DataFileFilter();
    request.folder = mergeFile_.isEmpty() ? CardFolder() : QFileInfo(mergeFile_).absolutePath();
    request.mustExist = true;
    const QString path = ChooseFileName(request);
    if (!path.isEmpty())
        MergeDataFrom(path);
}

bool MainWindow::MergeDataFrom(const QString& path)
{
    auto data = std::make_unique<TDataFile>();
    const QString error = LoadMergeData(path, *panel_, data.get());
    if (!error.isEmpty()) {
        // Data read before stays as it was.
        Inform(error);
        return false;
    }
    mergeData_ = std::move(data);
    mergeFile_ = path;
    printRecords_ = TRecordRange{1, int(mergeData_->records.size())};
    navigator_->SetData(QFileInfo(path).fileName(), int(mergeData_->records.size()));
    forgetMergeItem_->setEnabled(true);
    ShowRecord(1);
    return true;
}

void MainWindow::mnuForgetMergeDataClick()
{
    mergeData_.reset();
    mergeFile_.clear();
    navigator_->SetData(QString(), 0);
    forgetMergeItem_->setEnabled(false);
    panel_->SetFieldRecord(std::nullopt); // back to the personal information
}

void MainWindow::ShowRecord(int record)
{
    if (!mergeData_ || mergeData_->records.isEmpty())
        return;
    const int index = std::clamp(record, 1, int(mergeData_->records.size())) - 1;
    navigator_->SetRecord(index + 1);
    panel_->SetFieldRecord(mergeData_->records[index]);
}

} // namespace cardora
