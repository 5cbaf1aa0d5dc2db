// The shared routines that work on controls, driven as the windows use them.

#include "RecordingDialogs.h"
#include "TestHome.h"
#include "UnitDataUi.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

using namespace Qt::StringLiterals;

class EditRoutinesTest : public QObject {
    Q_OBJECT
private slots:
    void isEditNumber_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("number");
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("messages");
        QTest::newRow("blanks around") << u" 12.5 "_s << true << u" 12.5 "_s << 0;
        QTest::newRow("letters") << u"12a"_s << false << u""_s << 1;
        QTest::newRow("empty") << u""_s << false << u""_s << 0;
        QTest::newRow("blanks only") << u"   "_s << false << u"   "_s << 0;
    }
    void isEditNumber()
    {
        QFETCH(QString, typed);
        QFETCH(bool, number);
        QFETCH(QString, left);
        QFETCH(int, messages);
        TRecordingDialogs dialogs;
        QLineEdit edit;
        QTest::keyClicks(&edit, typed);
        QCOMPARE(IsEditNumber(&edit), number);
        QCOMPARE(edit.text(), left);
        QCOMPARE(dialogs.Infos.size(), messages);
        if (messages)
            QCOMPARE(dialogs.Infos.front(), u"数字非法！"_s);
    }

    void isEditEmpty()
    {
        TRecordingDialogs dialogs;
        QWidget window;
        auto* edit = new QLineEdit(&window);
        auto* other = new QLineEdit(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        QTest::keyClicks(edit, u"  "_s);
        QVERIFY(IsEditEmpty(edit, u"请输入名称！"_s));
        QCOMPARE(dialogs.Infos, QStringList{u"请输入名称！"_s});
        QVERIFY(edit->hasFocus());
        edit->insert(u"白玻"_s);
        QVERIFY(!IsEditEmpty(edit, u"请输入名称！"_s));
        QCOMPARE(dialogs.Infos.size(), 1);
    }

    void fillModelComboPairsNamesWithIds()
    {
        TRecordingDialogs dialogs;
        TTestHome home;
        TsysData data;
        QComboBox names, ids;
        names.addItem(u"stale"_s);
        FillModelCombo(&names, &ids);
        QCOMPARE(names.count(), 7);
        QCOMPARE(ids.count(), 7);
        QCOMPARE(names.itemText(0), u"A4 三列八行 65×33"_s);
        QCOMPARE(ids.itemText(0), u"1"_s);
        QCOMPARE(names.itemText(6), u"自定义模板三"_s);
        QCOMPARE(ids.itemText(6), u"7"_s);
        QVERIFY(dialogs.Infos.isEmpty());
    }
};

QTEST_MAIN(EditRoutinesTest)
#include "EditRoutinesTest.moc"
