#include "UnitD2RectThread.h"

TD2Rect::TD2Rect(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles, int run,
                 std::optional<uint64_t> seed)
    : Run(run), m_search(raws, prm, eles)
{
    if (seed)
        m_search.SetSeed(*seed);
    m_search.SetProgress({[this](int i) { emit PlanBuilt(i); },
                          [this](const std::string& text) { emit GenerationDone(QString::fromStdString(text)); }});
    // Freed once it has ended and nobody waits on it any more.
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TD2Rect::run()
{
    m_search.Search();
    emit PostResult(this);
}
