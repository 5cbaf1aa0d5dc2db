#pragma once

// The calculation's worker thread around the search. Progress and the final
// hand-over reach the windows through signals the worker waits on (blocking
// queued connections), as the windows' synchronous messages did.

#include "UnitD2Rect.h"

#include <QString>
#include <QThread>

#include <optional>

class TD2Rect final : public QThread {
    Q_OBJECT
public:
    // Works on copies of the input; the run number tells its result from a
    // later run's.
    TD2Rect(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles, int run,
            std::optional<uint64_t> seed = std::nullopt);

    const int Run;
    // Safe from any thread; the search reads the flag fresh before every plan.
    void RequestStop() { m_search.RequestStop(); }
    // The best plan; read it only while the worker waits in PostResult.
    const TD2RSchame& Best() const { return m_search.GetBest(); }

signals:
    void PlanBuilt(int plans);                // plan i of 30 of the generation is built
    void GenerationDone(const QString& best); // "87.53%:4"
    void PostResult(TD2Rect* worker);         // the run has ended: take the best plan

protected:
    void run() override;

private:
    TD2Search m_search;
};
