#include "platform/cg/ParallelDeflate.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include <sched.h>

namespace qm::cg {

namespace {

// The window deflate matches within, and so the dictionary of a piece.
constexpr std::size_t kWindowBytes = std::size_t(1) << 15;

struct Piece
{
    enum class Stage
    {
        Free,    // may be filled
        Queued,  // waits for a worker
        Working, // being compressed
        Done,    // compressed, waits to go to the sink in order
        Failed,
    };
    Stage stage = Stage::Free;
    bool last = false;
    std::unique_ptr<unsigned char[]> in;
    std::size_t inSize = 0;
    std::size_t inCapacity = 0;
    unsigned char dictionary[kWindowBytes];
    std::size_t dictionarySize = 0;
    std::unique_ptr<unsigned char[]> out;
    std::size_t outSize = 0;
    std::size_t outCapacity = 0;
    unsigned long adler = 0;
};

// A raw deflate stream of its own for each thread that compresses.
class Deflater
{
public:
    explicit Deflater(int level)
        : m_ready(deflateInit2(&m_z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK)
    { }
    ~Deflater()
    {
        if (m_ready)
            deflateEnd(&m_z);
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // Compresses the piece's input into its output; false on any failure.
    bool Compress(Piece& p)
    {
        try {
            if (!m_ready || deflateReset(&m_z) != Z_OK)
                return false;
            if (p.dictionarySize
                && deflateSetDictionary(&m_z, p.dictionary, static_cast<uInt>(p.dictionarySize)) != Z_OK)
                return false;
            // A sync flush adds an empty stored block to the bound.
            Reserve(p, deflateBound(&m_z, static_cast<uLong>(p.inSize)) + 16);
            m_z.next_in = p.in.get();
            m_z.avail_in = static_cast<uInt>(p.inSize);
            p.outSize = 0;
            for (;;) {
                m_z.next_out = p.out.get() + p.outSize;
                m_z.avail_out = static_cast<uInt>(p.outCapacity - p.outSize);
                const int result = deflate(&m_z, p.last ? Z_FINISH : Z_SYNC_FLUSH);
                p.outSize = p.outCapacity - m_z.avail_out;
                // A stream that made no progress with room left would
                // never finish.
                if (result == Z_STREAM_ERROR || (result == Z_BUF_ERROR && m_z.avail_out > 0))
                    return false;
                if (m_z.avail_in == 0 && (p.last ? result == Z_STREAM_END : m_z.avail_out > 0))
                    break;
                Reserve(p, 2 * p.outCapacity);
            }
            p.adler = adler32(adler32(0, nullptr, 0), p.in.get(), static_cast<uInt>(p.inSize));
            return true;
        } catch (...) {
            return false;
        }
    }

private:
    // Room for `bytes` of output, what was made kept.
    static void Reserve(Piece& p, std::size_t bytes)
    {
        if (bytes <= p.outCapacity)
            return;
        std::unique_ptr<unsigned char[]> grown(new unsigned char[bytes]);
        if (p.outSize)
            std::memcpy(grown.get(), p.out.get(), p.outSize);
        p.out = std::move(grown);
        p.outCapacity = bytes;
    }

    z_stream m_z{};
    bool m_ready;
};

} // namespace

struct ParallelDeflate::Impl
{
    int level;
    Sink sink;
    std::vector<std::unique_ptr<Piece>> ring;
    std::size_t filling = 0; // the piece being filled
    std::size_t oldest = 0;  // the first piece not yet handed to the sink (under the lock)
    std::size_t inFlight = 0;
    unsigned long adler = 1; // of the input handed to the sink so far
    bool started = false;    // the header went to the sink
    bool failed = false;
    bool finished = false;
    std::unique_ptr<Deflater> own; // with no workers
    unsigned char tail[kWindowBytes];
    std::mutex mutex;
    std::condition_variable queued;
    std::condition_variable done;
    bool stopping = false;
    std::vector<std::thread> workers;

    Impl(int zlibLevel, int count, Sink s) : level(zlibLevel), sink(std::move(s))
    {
        // The ring is made before any worker reads it; with fewer workers
        // than asked it is merely longer than needed.
        const std::size_t pieces = count ? 2 * std::size_t(count) + 1 : 1;
        for (std::size_t i = 0; i < pieces; ++i)
            ring.emplace_back(new Piece());
        for (int i = 0; i < count; ++i) {
            try {
                workers.emplace_back([this] { Work(); });
            } catch (...) {
                break;
            }
        }
        if (workers.empty())
            own.reset(new Deflater(level));
    }

    ~Impl()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        queued.notify_all();
        for (std::thread& t : workers)
            t.join();
    }

    void Work()
    {
        Deflater deflater(level);
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            Piece* next = nullptr;
            queued.wait(lock, [&] {
                next = FirstQueued();
                return stopping || next;
            });
            if (stopping)
                return;
            next->stage = Piece::Stage::Working;
            lock.unlock();
            const bool compressed = deflater.Compress(*next);
            lock.lock();
            next->stage = compressed ? Piece::Stage::Done : Piece::Stage::Failed;
            done.notify_all();
        }
    }

    // The queued piece that comes first in the stream (under the lock).
    Piece* FirstQueued()
    {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            Piece& p = *ring[(oldest + i) % ring.size()];
            if (p.stage == Piece::Stage::Queued)
                return &p;
        }
        return nullptr;
    }

    bool Fail()
    {
        failed = true;
        return false;
    }

    // The oldest piece in flight is compressed (or failed).
    bool OldestReady()
    {
        std::lock_guard<std::mutex> lock(mutex);
        const Piece::Stage stage = ring[oldest]->stage;
        return stage == Piece::Stage::Done || stage == Piece::Stage::Failed;
    }

    // Hands the oldest piece in flight to the sink, waiting until it is
    // compressed; false when it failed or the sink refused.
    bool Emit()
    {
        Piece& p = *ring[oldest];
        {
            std::unique_lock<std::mutex> lock(mutex);
            done.wait(lock, [&] { return p.stage == Piece::Stage::Done || p.stage == Piece::Stage::Failed; });
        }
        if (p.stage == Piece::Stage::Failed)
            return Fail();
        static const unsigned char kHeader[2] = {0x78, 0x01};
        if (!started && !sink(kHeader, sizeof kHeader))
            return Fail();
        started = true;
        if (p.outSize && !sink(p.out.get(), p.outSize))
            return Fail();
        adler = adler32_combine(adler, p.adler, static_cast<z_off_t>(p.inSize));
        p.inSize = 0;
        {
            // Workers read the stages and where the stream stands.
            std::lock_guard<std::mutex> lock(mutex);
            p.stage = Piece::Stage::Free;
            oldest = (oldest + 1) % ring.size();
        }
        --inFlight;
        return true;
    }

    // The filled piece goes to a worker (or is compressed now), and the next
    // one is made ready to fill, with this one's end as its dictionary.
    bool Submit(bool last)
    {
        Piece& p = *ring[filling];
        // The next dictionary is the input just before the next piece,
        // reaching back into earlier pieces when this one is short.
        const std::size_t keep = std::min(kWindowBytes, p.dictionarySize + p.inSize);
        const std::size_t fromThis = std::min(keep, p.inSize);
        const std::size_t fromBefore = keep - fromThis;
        std::memcpy(tail, p.dictionary + p.dictionarySize - fromBefore, fromBefore);
        if (fromThis)
            std::memcpy(tail + fromBefore, p.in.get() + p.inSize - fromThis, fromThis);
        p.last = last;
        ++inFlight;
        if (workers.empty()) {
            p.stage = own->Compress(p) ? Piece::Stage::Done : Piece::Stage::Failed;
        } else {
            {
                std::lock_guard<std::mutex> lock(mutex);
                p.stage = Piece::Stage::Queued;
            }
            queued.notify_one();
        }
        if (last)
            return true;
        // Once the ring is full the next piece is the oldest in flight.
        if (inFlight == ring.size() && !Emit())
            return false;
        while (inFlight && OldestReady()) {
            if (!Emit())
                return false;
        }
        filling = (filling + 1) % ring.size();
        Piece& n = *ring[filling];
        std::memcpy(n.dictionary, tail, keep);
        n.dictionarySize = keep;
        return true;
    }
};

ParallelDeflate::ParallelDeflate(int level, int workers, Sink sink)
    : m_impl(new Impl(std::min(std::max(level, 1), 9), std::max(workers, 0), std::move(sink)))
{ }

ParallelDeflate::~ParallelDeflate() = default;

unsigned char* ParallelDeflate::Claim(std::size_t bytes)
{
    Impl& s = *m_impl;
    if (s.failed || s.finished)
        return nullptr;
    try {
        if (s.ring[s.filling]->inSize && s.ring[s.filling]->inSize + bytes > kPieceBytes && !s.Submit(false))
            return nullptr;
        Piece& p = *s.ring[s.filling];
        if (p.inSize + bytes > p.inCapacity) {
            const std::size_t capacity = std::max(kPieceBytes, p.inSize + bytes);
            std::unique_ptr<unsigned char[]> grown(new unsigned char[capacity]);
            if (p.inSize)
                std::memcpy(grown.get(), p.in.get(), p.inSize);
            p.in = std::move(grown);
            p.inCapacity = capacity;
        }
        unsigned char* room = p.in.get() + p.inSize;
        p.inSize += bytes;
        return room;
    } catch (...) {
        s.Fail();
        return nullptr;
    }
}

bool ParallelDeflate::Finish()
{
    Impl& s = *m_impl;
    if (s.failed || s.finished)
        return false;
    s.finished = true;
    try {
        if (!s.ring[s.filling]->in)
            s.ring[s.filling]->in.reset(new unsigned char[1]);
        if (!s.Submit(true))
            return false;
        while (s.inFlight) {
            if (!s.Emit())
                return false;
        }
        const unsigned char trailer[4]
            = {static_cast<unsigned char>(s.adler >> 24), static_cast<unsigned char>(s.adler >> 16),
                static_cast<unsigned char>(s.adler >> 8), static_cast<unsigned char>(s.adler)};
        return s.sink(trailer, sizeof trailer) || s.Fail();
    } catch (...) {
        return s.Fail();
    }
}

int ParallelDeflate::DefaultWorkers()
{
    int processors = 1;
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        processors = CPU_COUNT(&set);
    else
        processors = static_cast<int>(std::thread::hardware_concurrency());
    return processors > 1 ? std::min(processors, 4) : 0;
}

} // namespace qm::cg
