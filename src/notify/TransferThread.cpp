#include "notify/TransferThread.h"

#include <curl/curl.h>

TransferThread::TransferThread(const QString& name)
{
    static const CURLcode curlReady = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(curlReady);
    worker_->moveToThread(&thread_);
    thread_.setObjectName(name);
    thread_.start();
}

bool TransferThread::Stop()
{
    if (stopping_.exchange(true))
        return false;
    Post([] { QThread::currentThread()->quit(); });
    thread_.wait();
    return true;
}
