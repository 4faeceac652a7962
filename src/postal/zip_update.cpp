#include "postal/zip_update.h"

#include "core/IniFile.h"
#include "platform/AppContext.h"
#include "platform/HttpClient.h"
#include "platform/Prompt.h"
#include "postal/Thread_ZipDL.h"
#include "widgets/ShiftJisInput.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *NewProxyEdit(QWidget *parent, const char *name) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    // Kana input off: addresses and ports are typed in Latin letters and digits.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    // The fields are kept in pro.dat, a code page 932 file: a pasted emoji would come back as
    // another character.
    GuardShiftJis(edit);
    return edit;
}

} // namespace

Tzip_update::Tzip_update(AppContext &context, QWidget *parent, ZipUpdateLimits limits)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Edit1(new QLineEdit(this)), LabeledEdit1(NewProxyEdit(this, "LabeledEdit1")),
      LabeledEdit2(NewProxyEdit(this, "LabeledEdit2")),
      EditServer(NewProxyEdit(this, "EditServer")),
      Button1(new QPushButton(QStringLiteral("郵便番号データの更新を確認する"), this)),
      BtnFromFile(new QPushButton(QStringLiteral("ファイルから更新"), this)),
      Btn_Cancel(new QPushButton(QStringLiteral("閉じる"), this)), Panel1(new QFrame(this)),
      context_(context), limits_(limits) {
    setObjectName(QStringLiteral("zip_update"));
    setWindowTitle(QStringLiteral("新しい郵便番号データの取得"));
    setModal(true);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(260);
    Button1->setObjectName(QStringLiteral("Button1"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    BtnFromFile->setObjectName(QStringLiteral("BtnFromFile"));
    Panel1->setObjectName(QStringLiteral("Panel1"));
    LabeledEdit2->installEventFilter(this);

    auto *current = new QHBoxLayout;
    current->addWidget(new QLabel(QStringLiteral("現在"), this));
    current->addWidget(Edit1, 1);
    current->addWidget(new QLabel(QStringLiteral("が使用されています。"), this));

    auto *proxy = new QGridLayout;
    proxy->addWidget(new QLabel(QStringLiteral("アドレス"), this), 0, 0);
    proxy->addWidget(new QLabel(QStringLiteral("ポート"), this), 0, 1);
    proxy->addWidget(LabeledEdit1, 1, 0);
    proxy->addWidget(LabeledEdit2, 1, 1);
    proxy->setColumnStretch(0, 3);
    proxy->setColumnStretch(1, 1);

    auto *server = new QHBoxLayout;
    server->addWidget(new QLabel(QStringLiteral("更新サーバ"), this));
    server->addWidget(EditServer, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(BtnFromFile);
    buttons->addStretch();
    buttons->addWidget(Btn_Cancel);

    Panel1->setFrameShape(QFrame::StyledPanel);
    auto *busy = new QProgressBar(Panel1);
    busy->setRange(0, 0);
    auto *panel = new QVBoxLayout(Panel1);
    panel->addWidget(new QLabel(QStringLiteral("更新データのダウンロード中です"), Panel1), 0,
                     Qt::AlignHCenter);
    panel->addWidget(busy);
    Panel1->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(current);
    layout->addWidget(
        new QLabel(QStringLiteral("※インターネットに接続されている必要があります"), this));
    layout->addLayout(server);
    layout->addSpacing(8);
    layout->addWidget(
        new QLabel(QStringLiteral("プロキシサーバを使用する場合は下記に入力してください"), this));
    layout->addWidget(new QLabel(QStringLiteral("（使用しない場合は空欄にしてください）"), this));
    layout->addLayout(proxy);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addWidget(Panel1);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &Tzip_update::Button1Click);
    connect(Btn_Cancel, &QPushButton::clicked, this, &Tzip_update::Btn_CancelClick);
    connect(BtnFromFile, &QPushButton::clicked, this, &Tzip_update::BtnFromFileClick);
}

Tzip_update::~Tzip_update() {
    if (worker_)
        worker_->wait();
}

void Tzip_update::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tzip_update::FormShow() {
    CanClose = true;
    LoadInstalledVersion();
    const ProxyFields fields = ReadProxyFields(context_.GetDataPath());
    LabeledEdit1->setText(fields.address);
    LabeledEdit2->setText(fields.port);
    EditServer->setText(ZipUpdateServer(context_.GetDataPath()));
}

void Tzip_update::LoadInstalledVersion() {
    InstalledZipVersion installed;
    QString error;
    if (!ReadInstalledZipVersion(context_.GetDataPath(), installed, &error))
        prompt().Error(error);
    // Without a readable version file any server data counts as newer, so an update repairs it.
    InstalledVersion = installed.version;
    InstalledDescription = installed.description;
    Edit1->setText(InstalledDescription);
}

void Tzip_update::SetControlsEnabled(bool enabled) {
    const std::initializer_list<QWidget *> controls = {LabeledEdit1, LabeledEdit2, EditServer,
                                                       Btn_Cancel,   Button1,      BtnFromFile};
    for (QWidget *control : controls)
        control->setEnabled(enabled);
    CanClose = enabled;
}

void Tzip_update::Button1Click() {
    const ZipProxy proxy = ProxyOf({LabeledEdit1->text(), LabeledEdit2->text()});
    if (!proxy.portValid)
        LabeledEdit2->clear();
    const QString server = TakeServer();
    if (server.isEmpty()) {
        prompt().Message(ZipUpdateText::EnterServer);
        return;
    }

    // The check waits for one small file; the window stays drawn but cannot be used meanwhile.
    SetControlsEnabled(false);
    HttpClient http(limits_.stallMs, limits_.stallMs);
    http.SetProxy(proxy.host, proxy.port);
    const UpdateCheck check = CheckForUpdate(http, server, InstalledVersion);
    SetControlsEnabled(true);

    switch (check) {
    case UpdateCheck::Failure:
        prompt().Message(ZipUpdateText::CheckFailed);
        return;
    case UpdateCheck::NoUpdate:
        prompt().Message(ZipUpdateText::NoUpdate);
        return;
    case UpdateCheck::UpdateAvailable:
        break;
    }
    if (prompt().Confirm(ZipUpdateText::Offer)) {
        SetControlsEnabled(false);
        Panel1->show();
        worker_ = std::make_unique<Thread_ZipDL>(server, context_.GetDataPath(), proxy, limits_);
        connect(worker_.get(), &Thread_ZipDL::Done, this, &Tzip_update::DownloadDone);
        worker_->start();
    }
    LoadInstalledVersion();
}

QString Tzip_update::TakeServer() {
    const QString server = EditServer->text().trimmed();
    if (server == ZipUpdateServer(context_.GetDataPath()))
        return server;
    IniFile config(ConfigIniPath(context_.GetDataPath()));
    config.Load();
    config.WriteString(QStringLiteral("ZIP_UPDATE"), QStringLiteral("SERVER"), server);
    QString error;
    if (!config.Save(&error))
        prompt().Error(QStringLiteral("更新サーバの設定を保存できませんでした。\r\n%1").arg(error));
    return server;
}

void Tzip_update::BtnFromFileClick() {
    QStringList archives;
    const QString areas = prompt().OpenFile(
        QStringLiteral("日本郵便の郵便番号データ（ken_all.zip または utf_ken_all.zip）"), QString(),
        QStringLiteral("ZIPファイル (*.zip *.ZIP)"));
    if (areas.isEmpty())
        return;
    archives << areas;
    if (prompt().Confirm(
            QStringLiteral("大口事業所の個別郵便番号（jigyosyo.zip）も取り込みますか？"))) {
        const QString offices =
            prompt().OpenFile(QStringLiteral("大口事業所の個別郵便番号（jigyosyo.zip）"),
                              QFileInfo(areas).path(), QStringLiteral("ZIPファイル (*.zip *.ZIP)"));
        if (!offices.isEmpty())
            archives << offices;
    }
    SetControlsEnabled(false);
    const ZipDownload update = UpdateZipFromArchives(archives, context_.GetDataPath());
    SetControlsEnabled(true);
    if (update.ok)
        prompt().Message(update.message);
    else
        prompt().Error(update.message);
    LoadInstalledVersion();
}

void Tzip_update::DownloadDone(bool ok, const QString &message) {
    worker_->wait();
    if (ok)
        prompt().Message(message);
    else
        prompt().Error(message);
    LoadInstalledVersion();
    SetControlsEnabled(true);
    Panel1->hide();
}

void Tzip_update::Btn_CancelClick() {
    QString error;
    if (!SaveProxyFields(context_.GetDataPath(), {LabeledEdit1->text(), LabeledEdit2->text()},
                         &error))
        prompt().Error(QStringLiteral("プロキシの設定を保存できませんでした。\r\n%1").arg(error));
    close();
}

void Tzip_update::reject() {
    if (CanClose)
        QDialog::reject();
}

void Tzip_update::closeEvent(QCloseEvent *event) {
    if (CanClose)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

bool Tzip_update::eventFilter(QObject *watched, QEvent *event) {
    // The port takes only the digits and Backspace; keys without text (arrows, Delete) pass.
    if (watched == LabeledEdit2 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool digit = text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9';
        if (!text.isEmpty() && text.at(0).isPrint() && !digit)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
