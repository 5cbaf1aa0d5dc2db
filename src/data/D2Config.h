#pragma once

// The display configuration of the input lists and the drawing switches, as
// stored in DispSet and ShowSet.

#include <QString>

#include <cstdint>

struct TConfig {
    int32_t rawRC = 50;
    int32_t eleRC = 500;
    int32_t rawShowName = 1;
    int32_t rawShowDemo = 0;
    int32_t eleShowName = 1;
    int32_t eleShowDemo = 0;
    int32_t rawShowPrio = 0;
    int32_t PnlWidth = 240;
    int32_t rawShowPrice = 0;
    int32_t eleShowWL = 1;
    QString rawName = QStringLiteral("名称");
    QString rawDemo = QStringLiteral("备注");
    QString rawLength = QStringLiteral("长");
    QString rawWidth = QStringLiteral("宽");
    QString rawCount = QStringLiteral("可用量");
    QString rawPrio = QStringLiteral("优先");
    QString rawPrice = QStringLiteral("单价");
    QString eleName = QStringLiteral("名称");
    QString eleDemo = QStringLiteral("备注");
    QString eleLength = QStringLiteral("长");
    QString eleWidth = QStringLiteral("宽");
    QString eleCount = QStringLiteral("数量");
    QString eleWL = QStringLiteral("有纹路");
    bool operator==(const TConfig&) const = default;
};

struct TShowSet {
    int32_t ShowXH = 1;
    int32_t ShowName = 1;
    int32_t ShowDemo = 0;
    int32_t ShowSize = 1;
    int32_t ShowBin = 1;
    bool operator==(const TShowSet&) const = default;
};
