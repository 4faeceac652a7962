// The stored use type and print control of a customer and the captions the lists show.

#include "core/DomainWords.h"

#include <QTest>

class TestDomainWords : public QObject {
    Q_OBJECT
private slots:
    void printControlAndUseTypeTexts_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("use");
        QTest::newRow("0") << 0 << "個人名"
                           << "個人用";
        QTest::newRow("1") << 1 << "会社部署御中"
                           << "会社用";
        QTest::newRow("2") << 2 << "会社部署役職殿"
                           << "個人用";
        QTest::newRow("3") << 3 << "会社部署役職氏名"
                           << "個人用";
        QTest::newRow("4") << 4 << "個人名"
                           << "個人用";
        QTest::newRow("none chosen") << -1 << ""
                                     << "個人用";
    }
    void printControlAndUseTypeTexts() {
        QFETCH(int, value);
        QFETCH(QString, control);
        QFETCH(QString, use);
        QCOMPARE(PrintControlCaption(PrintControlOf(value)), control);
        QCOMPARE(UseTypeCaption(UseTypeOf(value)), use);
    }
};

QTEST_GUILESS_MAIN(TestDomainWords)
#include "tst_domainwords.moc"
