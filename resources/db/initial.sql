-- The rows a new database starts with: the default settings, label templates
-- a workshop can use at once, and empty templates for its own designs.

INSERT INTO fxPrm (OptTm, Blade, PriCut, FirCut, LayOut, WenLu, EdgT, EdgB, EdgL, EdgR, BinL, BinW, lingyin, wucha)
VALUES (10, 0, 1, 1, 1, 0, 0, 0, 0, 0, 100, 100, 0, 0);

INSERT INTO DispSet (rawRC, eleRC, rawName, rawShowName, rawDemo, rawShowDemo, rawLength, rawWidth, rawCount,
                     rawPrio, rawShowPrio, rawPrice, rawShowPrice, eleName, eleShowName, eleDemo, eleShowDemo,
                     eleLength, eleWidth, eleCount, PnlWidth, eleWL, eleShowWL)
VALUES (50, 500, '名称', 1, '备注', 0, '长', '宽', '可用量', '优先', 0, '单价', 0, '名称', 1, '备注', 0,
        '长', '宽', '数量', 240, '有纹路', 1);

INSERT INTO ShowSet (ShowXH, ShowName, ShowDemo, ShowSize, ShowBin) VALUES (1, 1, 0, 1, 1);

-- Label templates. Object positions are pixels of the label at 96 pixels per
-- inch; fields 1 to 4 are the part's name, length, width and quantity.
INSERT INTO labmdal (mdID, mdName, paperW, paperH, lbRow, lbCol, marLeft, marTop, spCol, spRow) VALUES
    (1, 'A4 三列八行 65×33', 210, 297, 8, 3, 5, 5, 3, 3),
    (2, 'A4 两列七行 99×38', 210, 297, 7, 2, 5, 15, 2, 0),
    (3, 'A4 三列七行 63×38', 210, 297, 7, 3, 7, 15, 3, 0),
    (4, '卷筒单标签 60×40', 60, 40, 1, 1, 0, 0, 0, 0),
    (5, '自定义模板一', 210, 297, 8, 3, 5, 5, 3, 3),
    (6, '自定义模板二', 210, 297, 8, 3, 5, 5, 3, 3),
    (7, '自定义模板三', 210, 297, 8, 3, 5, 5, 3, 3);

INSERT INTO lblmx (mdID, lbType, px1, py1, px2, py2, content, fsize) VALUES
    (1, '1', 6, 6, 46, 24, '名称：', 9),
    (1, '2', 52, 6, 92, 24, '字段1', 9),
    (1, '1', 6, 28, 46, 46, '尺寸：', 9),
    (1, '2', 52, 28, 92, 46, '字段2', 9),
    (1, '1', 92, 28, 132, 46, '×', 9),
    (1, '2', 106, 28, 146, 46, '字段3', 9),
    (1, '1', 6, 50, 46, 68, '数量：', 9),
    (1, '2', 52, 50, 92, 68, '字段4', 9),
    (1, '1', 6, 72, 46, 90, '日期：', 9),
    (1, '4', 52, 72, 92, 90, '[日期]', 9),
    (2, '1', 10, 6, 50, 26, '名称：', 10),
    (2, '2', 56, 6, 96, 26, '字段1', 10),
    (2, '1', 10, 32, 50, 52, '尺寸：', 10),
    (2, '2', 56, 32, 96, 52, '字段2', 10),
    (2, '1', 96, 32, 136, 52, '×', 10),
    (2, '2', 110, 32, 150, 52, '字段3', 10),
    (2, '1', 10, 58, 50, 78, '数量：', 10),
    (2, '2', 56, 58, 96, 78, '字段4', 10),
    (2, '1', 10, 84, 50, 104, '日期：', 10),
    (2, '4', 56, 84, 96, 104, '[日期]', 10),
    (3, '1', 8, 6, 48, 24, '名称：', 9),
    (3, '2', 54, 6, 94, 24, '字段1', 9),
    (3, '1', 8, 32, 48, 50, '尺寸：', 9),
    (3, '2', 54, 32, 94, 50, '字段2', 9),
    (3, '1', 94, 32, 134, 50, '×', 9),
    (3, '2', 108, 32, 148, 50, '字段3', 9),
    (3, '1', 8, 58, 48, 76, '数量：', 9),
    (3, '2', 54, 58, 94, 76, '字段4', 9),
    (3, '1', 8, 84, 48, 102, '日期：', 9),
    (3, '4', 54, 84, 94, 102, '[日期]', 9),
    (4, '1', 10, 6, 50, 26, '名称：', 10),
    (4, '2', 56, 6, 96, 26, '字段1', 10),
    (4, '1', 10, 34, 50, 54, '尺寸：', 10),
    (4, '2', 56, 34, 96, 54, '字段2', 10),
    (4, '1', 96, 34, 136, 54, '×', 10),
    (4, '2', 110, 34, 150, 54, '字段3', 10),
    (4, '1', 10, 62, 50, 82, '数量：', 10),
    (4, '2', 56, 62, 96, 82, '字段4', 10),
    (4, '1', 10, 90, 50, 110, '日期：', 10),
    (4, '4', 56, 90, 96, 110, '[日期]', 10);
