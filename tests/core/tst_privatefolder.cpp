#include "core/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestPrivateFolder : public QObject {
    Q_OBJECT
private slots:
    void folderIsMadePrivateOrNamed_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("made");
        QTest::newRow("new, with its parents") << "a/b/c" << true;
        QTest::newRow("already there, open to all") << "open" << true;
        QTest::newRow("below a file") << "file/sub" << false;
    }
    void folderIsMadePrivateOrNamed() {
        QFETCH(QString, folder);
        QFETCH(bool, made);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkdir("open"));
        QVERIFY(QFile::setPermissions(root.filePath("open"), QFile::Permissions(0x7777)));
        QFile file(root.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString path = root.filePath(folder);
        QString error;
        QCOMPARE(MakePrivateFolder(path, &error), made);
        // Every level made, not only the last.
        for (QString level = path; made && level != root.path(); level = QFileInfo(level).path())
            QCOMPARE((QFile::permissions(level) & 0x7077).toInt(),
                     PrivateFolderPermissions.toInt());
        if (!made)
            QCOMPARE(error, QStringLiteral("フォルダを作成できません: %1").arg(path));
        QVERIFY(MakePrivateFolder(path) == made);
    }
};

QTEST_MAIN(TestPrivateFolder)
#include "tst_privatefolder.moc"
