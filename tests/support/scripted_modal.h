#pragma once
#include "core/modal.h"
#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

namespace cardora::test {

// Answers every modal interaction from queues and records what was asked.
class ScriptedModal : public ModalHandler {
public:
    struct Shown {
        QString text;
        QString caption;
        MessageStyle style;
    };
    std::vector<Shown> messages;
    std::deque<int> answers;                        // for Ask: mrYes / mrNo
    std::deque<std::function<int(QDialog&)>> dialogs; // fill and close a dialog
    std::deque<std::optional<QFont>> fonts;
    std::deque<QColor> fontColors; // the colour a font dialog with effects returns
    std::vector<QColor> fontColorsOffered;
    std::deque<std::optional<QColor>> colors;
    std::deque<QString> fileNames;
    std::vector<FileDialogRequest> fileRequests;

    int Message(const QString& text, const QString& caption, MessageStyle style) override
    {
        messages.push_back({ text, caption, style });
        if (style != MessageStyle::Question && style != MessageStyle::QuestionCancel)
            return mrOk;
        if (answers.empty())
            return mrNo;
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    int Dialog(QDialog& d) override
    {
        if (dialogs.empty())
            return mrCancel;
        auto f = dialogs.front();
        dialogs.pop_front();
        return f(d);
    }
    std::optional<QFont> Font(const QFont&) override { return pop(fonts); }
    std::optional<FontChoice> FontWithColor(const QFont& initial, const QColor& color) override
    {
        fontColorsOffered.push_back(color);
        const std::optional<QFont> f = Font(initial);
        if (!f)
            return std::nullopt;
        QColor c = color;
        if (!fontColors.empty()) {
            c = fontColors.front();
            fontColors.pop_front();
        }
        return FontChoice { *f, c };
    }
    std::optional<QColor> Color(const QColor&) override { return pop(colors); }
    QString FileName(const FileDialogRequest& r) override
    {
        fileRequests.push_back(r);
        if (fileNames.empty())
            return QString();
        QString f = fileNames.front();
        fileNames.pop_front();
        return f;
    }

    static std::shared_ptr<ScriptedModal> Install()
    {
        auto m = std::make_shared<ScriptedModal>();
        SetModalHandler(m);
        return m;
    }

private:
    template <class T>
    static std::optional<T> pop(std::deque<std::optional<T>>& q)
    {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace cardora::test
