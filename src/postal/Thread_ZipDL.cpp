#include "postal/Thread_ZipDL.h"

#include "platform/HttpClient.h"

Thread_ZipDL::Thread_ZipDL(QString server, QString dataPath, ZipProxy proxy, ZipUpdateLimits limits,
                           QObject *parent)
    : QThread(parent), server_(std::move(server)), dataPath_(std::move(dataPath)),
      proxy_(std::move(proxy)), limits_(limits) {}

void Thread_ZipDL::run() {
    // The client lives and dies in this thread, with the window's proxy settings.
    HttpClient http(limits_.stallMs, limits_.wholeRequestMs);
    http.SetProxy(proxy_.host, proxy_.port);
    const ZipDownload result = DownloadZipUpdate(http, server_, dataPath_, limits_.maxZipDataBytes);
    emit Done(result.ok, result.message);
}
