// The test camera's streaming thread: from pause to stop it lives; while the
// graph runs it fills a sample from the allocator every 1/30 s and hands it
// downstream with its time stamps.
#include "tools/test_camera/test_camera.h"

namespace {

// Milliseconds on a steady counter.
double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

const double kPeriodMs = 1000.0 / 30;

}  // namespace

HRESULT CapturePin::StartStreaming() {
    if (m_connected == NULL) {
        return S_OK;  // nothing to deliver to
    }
    HRESULT hr = m_allocator->Commit();
    if (FAILED(hr)) {
        return hr;
    }
    m_stopRequested = false;
    m_thread = CreateThread(NULL, 0, &CapturePin::StreamMain, this, 0, NULL);
    if (m_thread == NULL) {
        m_allocator->Decommit();
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return S_OK;
}

void CapturePin::StopStreaming() {
    if (m_thread == NULL) {
        return;
    }
    m_stopRequested = true;
    SetEvent(m_wake);
    // A thread waiting for a free sample wakes with an error.
    m_allocator->Decommit();
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = NULL;
}

void CapturePin::Wake() {
    SetEvent(m_wake);
}

DWORD WINAPI CapturePin::StreamMain(void* self) {
    static_cast<CapturePin*>(self)->Stream();
    return 0;
}

void CapturePin::Stream() {
    int64_t frameNumber = 0;
    bool wasRunning = false;
    double due = 0;
    while (!m_stopRequested) {
        EnterCriticalSection(m_filter->Lock());
        const bool running = m_filter->State() == State_Running;
        LeaveCriticalSection(m_filter->Lock());
        if (!running) {
            wasRunning = false;
            WaitForSingleObject(m_wake, INFINITE);
            continue;
        }
        const double now = NowMs();
        if (!wasRunning) {
            due = now;  // the first frame of a run goes out at once
        }
        if (now < due) {
            WaitForSingleObject(m_wake, static_cast<DWORD>(due - now) + 1);
            continue;
        }
        DeliverFrame(frameNumber++, !wasRunning);
        wasRunning = true;
        // A late frame does not make the next ones come in a burst.
        due = due + kPeriodMs < now ? now + kPeriodMs : due + kPeriodMs;
    }
}

void CapturePin::DeliverFrame(int64_t frameNumber, bool first) {
    IMediaSample* sample = NULL;
    if (FAILED(m_allocator->GetBuffer(&sample, NULL, NULL, 0)) || sample == NULL) {
        return;  // decommitted: the filter is stopping
    }
    BYTE* bits = NULL;
    if (SUCCEEDED(sample->GetPointer(&bits)) && sample->GetSize() >= m_picture.FrameBytes()) {
        m_picture.Draw(frameNumber, bits);
        sample->SetActualDataLength(m_picture.FrameBytes());
        EnterCriticalSection(m_filter->Lock());
        REFERENCE_TIME start = m_filter->StreamTime();
        LeaveCriticalSection(m_filter->Lock());
        // Without a clock the frame count gives the time.
        if (start < 0) {
            start = frameNumber * kFramePeriod;
        }
        REFERENCE_TIME end = start + kFramePeriod;
        sample->SetTime(&start, &end);
        sample->SetSyncPoint(TRUE);
        sample->SetDiscontinuity(first ? TRUE : FALSE);
        m_input->Receive(sample);
    }
    sample->Release();
}
