#include "../common/TestEnv.h"

#include "records/FormPicPreview.h"
#include "records/PictureStore.h"
#include "store/PictureStorage.h"
#include "store/SchemaUpgrade.h"
#include "widgets/PictureBox.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTest>

namespace {

QImage Picture(int width, int height, QColor top, QColor bottom) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, width, height / 2, top);
    painter.fillRect(0, height / 2, width, height - height / 2, bottom);
    return image;
}

QString Save(const QImage &image, const QString &path, const char *format) {
    if (!image.save(path, format))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray Bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// An APP1 block with the EXIF orientation "turn right to view" spliced in after the start.
QByteArray WithOrientation6(const QByteArray &jpeg) {
    QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26);
    const QByteArray app1 = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(0);
    segment += char(app1.size() + 2);
    return jpeg.left(2) + segment + app1 + jpeg.mid(2);
}

class Fixture {
public:
    Fixture() {
        for (int i = 0; i < 7; ++i)
            env.AddCustomer(QString::number(i), "ｱ");
    }
    QString folder() { return PictureStore::PictureFolder(env.dataPath()); }
    QString source(const QString &name) { return env.root() + name; }
    QStringList files() { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    QString column(const char *name, int userId = 7) {
        return env.Scalar(
            QString("select %1 from Usertbl where UserId = %2").arg(name).arg(userId));
    }

    TestEnv env;
    Query query{env.db()};
};

} // namespace

class TestPictureStore : public QObject {
    Q_OBJECT
private slots:
    void jpegIntoSecondSlot() {
        Fixture f;
        const QString jpeg = Save(Picture(60, 40, Qt::red, Qt::blue), f.source("photo.JPG"), "JPG");
        QImage stored;
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 1, 7, jpeg, &stored));
        QCOMPARE(f.files(), QStringList{"7_1.bmp"});
        QCOMPARE(f.column("img2"), QString("7_1.bmp"));
        QVERIFY(f.column("img1").isEmpty());
        QImageReader reader(f.folder() + "7_1.bmp");
        QCOMPARE(reader.format(), QByteArray("bmp"));
        QCOMPARE(reader.read().size(), QSize(60, 40));
        QCOMPARE(stored.size(), QSize(60, 40));
        QVERIFY(f.env.prompt().calls().empty());
    }

    void readOnlyBmpTwice() {
        Fixture f;
        const QString first = Save(Picture(10, 10, Qt::red, Qt::red), f.source("a.bmp"), "BMP");
        const QString second = Save(Picture(12, 8, Qt::green, Qt::green), f.source("b.BMP"), "BMP");
        for (const QString &path : {first, second})
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser);
        const QString stored = f.folder() + "7_0.bmp";

        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, first));
        QCOMPARE(Bytes(stored), Bytes(first));
        // A stored picture left read-only (copied by an older version or restored) is replaced all
        // the same.
        QFile::setPermissions(stored, QFileDevice::ReadOwner | QFileDevice::ReadUser);
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, second));
        QCOMPARE(Bytes(stored), Bytes(second));
        QCOMPARE(f.column("img1"), QString("7_0.bmp"));
        QVERIFY(f.env.prompt().calls().empty());
    }

    void unreadablePictureKeepsTheOldOne_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QByteArray jpeg;
        {
            QBuffer buffer(&jpeg);
            buffer.open(QIODevice::WriteOnly);
            Picture(300, 200, Qt::red, Qt::blue).save(&buffer, "JPG");
        }
        QTest::newRow("truncated jpeg") << "cut.jpg" << jpeg.left(jpeg.size() / 2);
        QTest::newRow("text named jpg") << "note.jpg" << QByteArray("not a picture\r\n");
        QTest::newRow("empty jpeg") << "empty.jpeg" << QByteArray();
        QTest::newRow("text named bmp") << "note.bmp" << QByteArray("BM but nothing else");
    }
    void unreadablePictureKeepsTheOldOne() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Fixture f;
        const QString good = Save(Picture(10, 10, Qt::red, Qt::red), f.source("good.bmp"), "BMP");
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, good));
        const QByteArray before = Bytes(f.folder() + "7_0.bmp");
        WriteBytes(f.source(name), bytes);

        QImage stored;
        QVERIFY(
            !PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, f.source(name), &stored));
        QVERIFY(stored.isNull());
        const QStringList errors = f.env.prompt().Texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].startsWith("画像を読み込めませんでした。\r\n"), qPrintable(errors[0]));
        QVERIFY(errors[0].size() > QString("画像を読み込めませんでした。\r\n").size());
        QCOMPARE(f.files(), QStringList{"7_0.bmp"});
        QCOMPARE(Bytes(f.folder() + "7_0.bmp"), before);
        QCOMPARE(f.column("img1"), QString("7_0.bmp"));
    }

    // Photos arrive with the wrong extension; the contents decide, and anything else is
    // refused in the user's words rather than the decoder's.
    void theContentsDecideTheFormat_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("loaded");
        QTest::newRow("jpeg named bmp") << "photo.bmp" << QByteArray("JPG") << true;
        QTest::newRow("bmp named jpg") << "scan.jpg" << QByteArray("BMP") << true;
        QTest::newRow("png named jpg") << "web.jpg" << QByteArray("PNG") << false;
        QTest::newRow("png") << "shot.png" << QByteArray("PNG") << false;
    }
    void theContentsDecideTheFormat() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(bool, loaded);
        Fixture f;
        const QString source =
            Save(Picture(60, 40, Qt::red, Qt::blue), f.source(name), format.constData());
        QCOMPARE(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, source), loaded);
        if (loaded) {
            QImageReader reader(f.folder() + "7_0.bmp");
            QCOMPARE(reader.format(), QByteArray("bmp"));
            QCOMPARE(reader.read().size(), QSize(60, 40));
            QVERIFY(f.env.prompt().calls().empty());
        } else {
            QCOMPARE(
                f.env.prompt().Texts("error"),
                QStringList{"画像を読み込めませんでした。\r\nBMP・JPEG形式の画像ではありません。"});
            QVERIFY(f.files().isEmpty());
            QVERIFY(f.column("img1").isEmpty());
        }
    }

    // A file of that size is no picture; reading it whole could exhaust the machine.
    void aHugeFileIsRefusedUnread() {
        Fixture f;
        QFile huge(f.source("huge.jpg"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(300LL * 1024 * 1024)); // sparse: takes no disk
        huge.close();
        QVERIFY(!PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, huge.fileName()));
        QCOMPARE(
            f.env.prompt().Texts("error"),
            QStringList{"画像ファイルが大きすぎます（300MB）。256MB以下の画像を使って下さい。"});
        QVERIFY(f.files().isEmpty());
    }

    void aCustomerRemovedMeanwhileLeavesNoFile() {
        Fixture f;
        const QString source = Save(Picture(10, 10, Qt::red, Qt::red), f.source("a.bmp"), "BMP");
        f.env.Run("delete from Usertbl where UserId = 7");
        QVERIFY(!PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, source));
        QVERIFY(f.files().isEmpty());
        QCOMPARE(
            f.env.prompt().Texts("error"),
            QStringList{
                "この顧客データはほかのプログラムで削除されたため、画像を登録できませんでした。"});
    }

    void missingSourceChangesNothing() {
        Fixture f;
        const QString missing = f.source("gone.jpg");
        QVERIFY(!PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, missing));
        QCOMPARE(f.env.prompt().Texts("error"),
                 QStringList{QDir::toNativeSeparators(missing) + "は存在しません"});
        QVERIFY(f.files().isEmpty());
        QVERIFY(f.column("img1").isEmpty());
    }

    void rotatedPhotoStoredUpright() {
        Fixture f;
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        Picture(80, 40, Qt::red, Qt::blue).save(&buffer, "JPG", 95);
        WriteBytes(f.source("phone.jpg"), WithOrientation6(jpeg));

        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, f.source("phone.jpg")));
        const QImage stored(f.folder() + "7_0.bmp");
        QCOMPARE(stored.size(), QSize(40, 80));
        // Turned right: the red top is now on the right, the blue bottom on the left.
        QVERIFY(qRed(stored.pixel(36, 40)) > 200 && qBlue(stored.pixel(36, 40)) < 60);
        QVERIFY(qBlue(stored.pixel(3, 40)) > 200 && qRed(stored.pixel(3, 40)) < 60);
    }

    void largePhotoStoredReduced() {
        Fixture f;
        const QString jpeg =
            Save(Picture(4000, 1000, Qt::red, Qt::blue), f.source("wide.jpg"), "JPG");
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, jpeg));
        const QSize size = QImageReader(f.folder() + "7_0.bmp").size();
        QVERIFY(size.width() <= 2048 && size.width() >= 1024);
        QCOMPARE(size.width(), size.height() * 4);
    }

    void missingFolderIsCreated() {
        Fixture f;
        QVERIFY(QDir(f.folder()).removeRecursively());
        const QString bmp = Save(Picture(4, 4, Qt::red, Qt::red), f.source("x.bmp"), "BMP");
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 1, 3, bmp));
        QCOMPARE(f.files(), QStringList{"3_1.bmp"});
    }

    void deleteAsksPerSlot_data() {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::newRow("picture 1, yes") << 0 << true << "画像を削除しますか？";
        QTest::newRow("picture 2, yes") << 1 << true << "画像２を削除しますか？";
        QTest::newRow("picture 2, no") << 1 << false << "画像２を削除しますか？";
    }
    void deleteAsksPerSlot() {
        QFETCH(int, slot);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        Fixture f;
        const QString bmp = Save(Picture(4, 4, Qt::red, Qt::red), f.source("x.bmp"), "BMP");
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 0, 7, bmp));
        QVERIFY(PictureStore::LoadPicture(f.query, f.env.dataPath(), 1, 7, bmp));
        const QString mine = f.folder() + PictureStore::PictureFileName(7, slot);
        QFile::setPermissions(mine, QFileDevice::ReadOwner);
        PictureBox box;
        box.LoadFile(mine);
        f.env.prompt().PushAnswer(answer ? Prompt::Answer::Yes : Prompt::Answer::No);

        QCOMPARE(PictureStore::ConfirmAndDelete(f.query, f.env.dataPath(), slot, 7, box), answer);
        QCOMPARE(f.env.prompt().Texts("confirm"), QStringList{question});
        QCOMPARE(f.env.prompt().calls().front().title, QString("確認"));
        QCOMPARE(QFile::exists(mine), !answer);
        QCOMPARE(box.HasPicture(), !answer);
        QCOMPARE(f.files().size(), answer ? 1 : 2);
        QCOMPARE(f.column(slot == 0 ? "img1" : "img2").isEmpty(), answer);
    }

    void deleteRemovesTheFileNamedAfterCustomerAndSlot() {
        Fixture f;
        f.env.Run("update Usertbl set img1 = 'other.bmp' where UserId = 7");
        WriteBytes(f.folder() + "other.bmp", "BM");
        WriteBytes(f.folder() + "7_0.bmp", "BM");
        QVERIFY(PictureStore::DeletePicture(f.query, f.env.dataPath(), 0, 7));
        QCOMPARE(f.files(), QStringList{"other.bmp"});
        QVERIFY(f.column("img1").isEmpty());
        // With no file at all only the column is emptied.
        QVERIFY(PictureStore::DeletePicture(f.query, f.env.dataPath(), 1, 7));
        QVERIFY(f.env.prompt().calls().empty());
    }

    // A server book keeps the picture in the book, none in the PC's folder; what the editor shows
    // is what was loaded, and a delete takes it out of the book.
    void aServerBookKeepsPicturesInTheBook() {
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set");
        TestEnv env(SqlTarget::Postgres);
        const int userId = env.AddCustomer("顧客", "ｺｷｬｸ");
        Query query(env.db());
        const QString jpeg = Save(Picture(8, 6, Qt::red, Qt::blue), env.root() + "p.jpg", "JPEG");
        QImage stored;
        QVERIFY(PictureStore::LoadPicture(query, env.dataPath(), 1, userId, jpeg, &stored));
        const QString name =
            env.Scalar(QString("select img2 from Usertbl where UserId = %1").arg(userId));
        QCOMPARE(PictureStore::ReadPicture(query, env.dataPath(), name)
                     .convertToFormat(QImage::Format_RGB32),
                 stored.convertToFormat(QImage::Format_RGB32));
        QVERIFY(QDir(PictureStore::PictureFolder(env.dataPath())).entryList(QDir::Files).isEmpty());
        QVERIFY(PictureStore::DeletePicture(query, env.dataPath(), 1, userId));
        QVERIFY(PictureStore::ReadPicture(query, env.dataPath(), name).isNull());
        QCOMPARE(env.Scalar("select count(*) from Picturetbl"), QString("0"));
    }

    // The server keeps a picture's bytes as they are, whatever they hold; a book an earlier
    // version kept them in as base64 text is converted on its next start, once.
    void aServerBookKeepsPictureBytesUnchanged_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("keptAsText");
        QByteArray everyByte;
        for (int value = 0; value < 256; ++value)
            everyByte += char(value);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        Picture(40, 30, Qt::red, Qt::blue).save(&buffer, "JPEG");
        const QByteArray zeros = QByteArray(3, '\0') + "BM" + QByteArray(5, '\0');
        for (const bool keptAsText : {false, true}) {
            const char *how = keptAsText ? "kept as text before" : "stored";
            QTest::addRow("every byte value, %s", how) << everyByte << keptAsText;
            QTest::addRow("zero bytes, %s", how) << zeros << keptAsText;
            QTest::addRow("JPEG, %s", how) << jpeg << keptAsText;
        }
    }
    void aServerBookKeepsPictureBytesUnchanged() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, keptAsText);
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set");
        TestEnv env(SqlTarget::Postgres);
        const int userId = env.AddCustomer("顧客", "ｺｷｬｸ");
        PictureStorage storage(env.db(), env.dbPath());
        QString name = PictureStorage::FileName(userId, 1);
        if (keptAsText) {
            env.Run("DROP TABLE picturetbl");
            env.Run("CREATE TABLE picturetbl (UserId INTEGER, Slot INTEGER, Picture TEXT, "
                    "PRIMARY KEY (UserId, Slot))");
            env.Run(QString("insert into picturetbl (UserId, Slot, Picture) values (%1, 1, '%2')")
                        .arg(userId)
                        .arg(QString::fromLatin1(bytes.toBase64())));
            env.db().GetEngine().SetUserVersion(2);
            QCOMPARE(RunSchemaUpgrade(env.db(), env.dataPath()), QString());
        } else {
            // The slot's earlier picture is replaced.
            storage.Write(userId, 1, "BM-earlier");
            QCOMPARE(storage.Write(userId, 1, bytes), name);
        }
        QCOMPARE(storage.Read(name), bytes);
        QCOMPARE(env.Scalar("select data_type from information_schema.columns where table_name "
                            "= 'picturetbl' and column_name = 'picture'"),
                 QString("bytea"));
        QCOMPARE(RunSchemaUpgrade(env.db(), env.dataPath()), QString());
        QCOMPARE(storage.Read(name), bytes);
    }

    void cancelledChoiceLoadsNothing() {
        Fixture f;
        PictureBox box;
        QVERIFY(!PictureStore::ChooseAndLoad(f.query, f.env.dataPath(), 0, 7, box));
        QCOMPARE(f.env.prompt().calls().front().kind, QString("open"));
        QVERIFY(f.files().isEmpty());
        QVERIFY(!box.HasPicture());

        const QString bmp = Save(Picture(6, 6, Qt::red, Qt::red), f.source("x.bmp"), "BMP");
        f.env.prompt().PushPath(bmp);
        QVERIFY(PictureStore::ChooseAndLoad(f.query, f.env.dataPath(), 0, 7, box));
        QVERIFY(box.HasPicture());
        QCOMPARE(box.cursor().shape(), Qt::PointingHandCursor);
        box.Clear();
        QCOMPARE(box.cursor().shape(), Qt::ArrowCursor);
    }

    void previewOfAnEmptyBoxOpensNothing() {
        TFormPicPreview preview;
        QCOMPARE(preview.windowTitle(), QString("画像"));
        preview.ShowPicture(QImage());
        QVERIFY(!preview.isVisible());
        QVERIFY(!preview.findChild<PictureBox *>("Image1")->HasPicture());

        QTimer::singleShot(0, &preview, [&] {
            QVERIFY(preview.isVisible());
            preview.accept();
        });
        preview.ShowPicture(Picture(30, 20, Qt::red, Qt::blue));
        QCOMPARE(preview.findChild<PictureBox *>("Image1")->Picture().size(), QSize(30, 20));
    }
};

QTEST_MAIN(TestPictureStore)
#include "tst_picturestore.moc"
