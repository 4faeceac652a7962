#include "store/EngineError.h"

QString EngineFailureText(EngineFailure failure, const QString &detail) {
    QString cause;
    switch (failure) {
    case EngineFailure::InUse:
        cause = QStringLiteral("顧客データのファイルをほかのプログラムが使用中です。"
                               "しばらくしてからやり直して下さい。");
        break;
    case EngineFailure::DiskFull:
        cause = QStringLiteral("ディスクがいっぱいのため、顧客データを書き込めません。");
        break;
    case EngineFailure::NoPermission:
        cause = QStringLiteral("顧客データのファイルに書き込む権限がありません。");
        break;
    case EngineFailure::Unreadable:
        cause = QStringLiteral("顧客データのファイルを読み書きできません。");
        break;
    case EngineFailure::Damaged:
        cause = QStringLiteral("顧客データのファイルが壊れています。");
        break;
    case EngineFailure::NoServer:
        cause = QStringLiteral("顧客データのサーバーに接続できません。");
        break;
    case EngineFailure::Other:
        cause = QStringLiteral("顧客データを処理できませんでした。");
        break;
    }
    return cause + QStringLiteral("\n詳細: ") + detail;
}
