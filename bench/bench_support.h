#pragma once
// What the benchmarks share: timings summed up as medians, and a program set
// up as Cardora and its batch tool set themselves up.
#include "core/app_folder.h"
#include "core/symbol_fonts.h"
#include "surface/object_kinds.h"
#include <QTemporaryDir>
#include <algorithm>
#include <vector>

namespace cardora::bench {

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// An application folder of its own (so that no CDW.INI or texture of the
// machine's counts), the bundled fonts and every card object kind.
class CardProgram {
public:
    CardProgram()
    {
        SetApplicationFolder(scratch_.path());
        RegisterBundledFonts();
        RegisterCardObjectKinds();
    }
    // Where a benchmark writes its files.
    QString Folder() const { return scratch_.path(); }
    QString FilePath(const QString& name) const { return scratch_.filePath(name); }

private:
    QTemporaryDir scratch_;
};

} // namespace cardora::bench
