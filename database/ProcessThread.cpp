#include "database/ProcessThread.h"

TProcessThread::TProcessThread(TLoop loop) : fLoop(std::move(loop))
{
}

TProcessThread::~TProcessThread()
{
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fStopping = true;
    }
    fChanged.notify_all();
    if (fThread.joinable())
        fThread.join();
}

void TProcessThread::change(const std::function<void()> &edit)
{
    {
        std::lock_guard<std::mutex> lock(fMutex);
        if (!fThread.joinable())
            fThread = std::thread([this] {
                std::unique_lock<std::mutex> lock(fMutex);
                fLoop(lock);
            });
        edit();
    }
    fChanged.notify_all();
}
