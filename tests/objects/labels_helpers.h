#pragma once
#include "fake_parent.h"
#include "objects/class_registry.h"
#include "objects/symbol_label.h"
#include "objects/text_label.h"
#include "shapes_helpers.h"
#include "support/scripted_modal.h"
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace cardora::test {

inline void RegisterLabelClasses()
{
    RegisterCardClass<TQPLabel>();
    RegisterCardClass<TQBusinessCardLabel>();
    RegisterCardClass<TQSymbolLabel>();
}

// Colours that tell the copies apart on the green page.
inline bool IsPureRed(QRgb c) { return qRed(c) > 235 && qGreen(c) < 20 && qBlue(c) < 20; }
inline bool IsPureBlue(QRgb c) { return qBlue(c) > 235 && qRed(c) < 20 && qGreen(c) < 20; }
inline bool IsPureBlack(QRgb c) { return qRed(c) < 20 && qGreen(c) < 20 && qBlue(c) < 20; }

struct LabelsFixture : ::testing::Test {
    FakeParent parent;
    std::shared_ptr<ScriptedModal> modal;

    void SetUp() override
    {
        modal = ScriptedModal::Install();
        RegisterLabelClasses();
    }
    void TearDown() override { SetModalHandler(nullptr); }

    // A label on the fake panel, Loaded and placed.
    template <class T>
    T* make(int left, int top, int width, int height)
    {
        auto* o = new T(&parent.Owner);
        parent.Adopt(o);
        o->Loaded();
        o->SetBounds(left, top, width, height);
        return o;
    }
};

// Width of `text` in the label's font as the screen measures it.
inline int ScreenWidth(const TQBaseLabel& label, const QString& text)
{
    return QFontMetrics(label.ShownFont()).horizontalAdvance(text);
}

} // namespace cardora::test
