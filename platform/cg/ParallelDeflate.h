#pragma once
// ParallelDeflate: one zlib stream (a header, deflate data, the Adler-32 of
// the input) compressed on worker threads while the caller makes the next
// input, as a picture's rows are compressed while the next band is painted.
//
// The input is cut into pieces of about kPieceBytes. Each piece is
// compressed on its own as raw deflate with the 32 KB of input before it as
// its dictionary, so matches still reach back across the cut, and ends with
// a sync flush on a byte boundary, so the pieces join into one stream that
// any inflater reads; the pieces' checksums are joined in order. The bytes
// made depend only on the input and the level, not on the number of
// workers or on timing.
//
// The compressed stream goes to the sink in order, on the caller's thread,
// from Claim and Finish. At most a few pieces per worker are held at once.

#include <cstddef>
#include <functional>
#include <memory>

namespace qm::cg {

class ParallelDeflate
{
public:
    // Takes the next bytes of the stream; false stops the stream for good.
    using Sink = std::function<bool(const unsigned char*, std::size_t)>;

    static constexpr std::size_t kPieceBytes = std::size_t(1) << 20;

    // zlib level 1 to 9. With no workers every piece is compressed on the
    // caller's thread as it is cut; workers that cannot be started are done
    // without.
    ParallelDeflate(int level, int workers, Sink sink);
    // Stops the workers; a stream not finished is dropped.
    ~ParallelDeflate();
    ParallelDeflate(const ParallelDeflate&) = delete;
    ParallelDeflate& operator=(const ParallelDeflate&) = delete;

    // Room for the next `bytes` bytes of input, written by the caller before
    // its next call. Null when the stream failed (a piece that did not
    // compress, a sink that refused, no memory) or was finished.
    unsigned char* Claim(std::size_t bytes);
    // Compresses what is left, hands the end of the stream to the sink and
    // answers whether the whole stream was made and taken.
    bool Finish();

    // Workers worth starting on this machine: one for each processor this
    // process may run on, up to four; none on a single processor.
    static int DefaultWorkers();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace qm::cg
