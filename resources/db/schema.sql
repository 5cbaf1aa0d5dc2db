-- The program's database. Tables are STRICT so that a value that does not
-- convert to its column's type is refused, as every statement passes its
-- values as text. The schema version is PRAGMA user_version; upgrades of an
-- older file live beside this file as upgrade-N.sql (from version N - 1 to N).

-- Optimisation parameters: one row.
CREATE TABLE fxPrm (
    OptTm INTEGER,
    Blade REAL,
    PriCut INTEGER,
    FirCut INTEGER,
    LayOut INTEGER,
    WenLu INTEGER,
    EdgT INTEGER,
    EdgB INTEGER,
    EdgL INTEGER,
    EdgR INTEGER,
    BinL INTEGER,
    BinW INTEGER,
    lingyin INTEGER,
    wucha INTEGER
) STRICT;

-- Captions, visibility and sizes of the two input lists: one row.
CREATE TABLE DispSet (
    rawRC INTEGER,
    eleRC INTEGER,
    rawName TEXT,
    rawShowName INTEGER,
    rawDemo TEXT,
    rawShowDemo INTEGER,
    rawLength TEXT,
    rawWidth TEXT,
    rawCount TEXT,
    rawPrio TEXT,
    rawShowPrio INTEGER,
    rawPrice TEXT,
    rawShowPrice INTEGER,
    eleName TEXT,
    eleShowName INTEGER,
    eleDemo TEXT,
    eleShowDemo INTEGER,
    eleLength TEXT,
    eleWidth TEXT,
    eleCount TEXT,
    PnlWidth INTEGER,
    eleWL TEXT,
    eleShowWL INTEGER
) STRICT;

-- Switches of the layout drawing: one row.
CREATE TABLE ShowSet (
    ShowXH INTEGER,
    ShowName INTEGER,
    ShowDemo INTEGER,
    ShowSize INTEGER,
    ShowBin INTEGER
) STRICT;

CREATE TABLE fxYlCate (
    cateID INTEGER PRIMARY KEY,
    cateName TEXT
) STRICT;

-- Materials: the stock sheet types.
CREATE TABLE fxYlinfo (
    ylID INTEGER PRIMARY KEY,
    cateID INTEGER,
    ylCode TEXT,
    ylName TEXT,
    length REAL,
    width REAL,
    houdu REAL DEFAULT 0,
    color TEXT,
    kcl INTEGER,
    bz TEXT,
    isComUse INTEGER DEFAULT 0,
    price REAL DEFAULT 0
) STRICT;

-- Remnants in stock, one row per material and size.
CREATE TABLE fxYuliao (
    ID INTEGER PRIMARY KEY,
    ylID INTEGER,
    length REAL,
    width REAL,
    kcl INTEGER
) STRICT;

-- Label templates and the objects placed on them.
CREATE TABLE labmdal (
    mdID INTEGER PRIMARY KEY,
    mdName TEXT,
    paperW REAL,
    paperH REAL,
    lbRow INTEGER,
    lbCol INTEGER,
    marLeft REAL,
    marTop REAL,
    spCol REAL,
    spRow REAL
) STRICT;

CREATE TABLE lblmx (
    mdID INTEGER,
    lbType TEXT,
    px1 REAL,
    py1 REAL,
    px2 REAL,
    py2 REAL,
    content TEXT,
    fsize REAL
) STRICT;

-- A remnant with the code and name of its material; a remnant whose material
-- was deleted stays listed.
CREATE VIEW vYuliao AS
SELECT y.ID AS ID, i.ylCode AS ylCode, i.ylName AS ylName, y.length AS length, y.width AS width,
       y.kcl AS kcl, y.ylID AS ylID
FROM fxYuliao y LEFT JOIN fxYlinfo i ON i.ylID = y.ylID;

-- Materials only, for the stock picker. YI 1: a material.
CREATE VIEW vYuanliao AS
SELECT CAST(i.ylID AS TEXT) AS ylID, i.ylCode AS ylCode, i.ylName AS ylName, i.length AS length,
       i.width AS width, i.houdu AS houdu, i.price AS price, i.kcl AS kcl, c.cateName AS cateName,
       i.color AS color, 1 AS YI
FROM fxYlinfo i LEFT JOIN fxYlCate c ON c.cateID = i.cateID;

-- Materials and remnants together, materials first (YI 1, then 2). A remnant's
-- ylID is "Y" and the remnant's ID, so that a sheet picked from a remnant can
-- be told from a whole sheet of its material.
CREATE VIEW vYCKC AS
SELECT ylID, ylCode, ylName, length, width, houdu, price, kcl, cateName, color, YI FROM vYuanliao
UNION ALL
SELECT 'Y' || y.ID, i.ylCode, i.ylName, y.length, y.width, i.houdu, i.price, y.kcl, c.cateName,
       i.color, 2
FROM fxYuliao y
JOIN fxYlinfo i ON i.ylID = y.ylID
LEFT JOIN fxYlCate c ON c.cateID = i.cateID;

PRAGMA user_version = 1;
