#pragma once

// Message boxes answered in advance and recorded, so that no test blocks on one.

#include "UnitData.h"

#include <QStringList>

#include <deque>

class TRecordingDialogs final : public TDialogs {
public:
    TRecordingDialogs() { SetDialogs(this); }
    ~TRecordingDialogs() override { SetDialogs(nullptr); }
    void Info(const QString& message) override { Infos.append(message); }
    bool Ask(const QString& message) override
    {
        Asks.append(message);
        if (Answers.empty())
            return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Error(const QString& message) override { Errors.append(message); }
    QString OpenFileName(const QString& filter) override { return NextFile(filter); }
    QString SaveFileName(const QString& filter, const QString& suffix) override
    {
        Suffixes.append(suffix);
        return NextFile(filter);
    }

    QStringList Infos;
    QStringList Asks;
    QStringList Errors;
    std::deque<bool> Answers;  // for Ask, in order; Cancel when none is left
    std::deque<QString> Files; // for the file dialogs, in order; cancelled when none is left
    QStringList FileDialogs;   // the filters of the file dialogs shown
    QStringList Suffixes;      // the default suffixes of the save dialogs shown

private:
    QString NextFile(const QString& filter)
    {
        FileDialogs.append(filter);
        if (Files.empty())
            return {};
        const QString file = Files.front();
        Files.pop_front();
        return file;
    }
};
