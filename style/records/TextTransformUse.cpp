#include "style/records/TextTransformUse.h"

#include <atomic>

namespace {

std::atomic<bool> g_read{false};

} // namespace

void NoteTextTransformRead() { g_read.store(true, std::memory_order_relaxed); }

bool TextTransformRead() { return g_read.load(std::memory_order_relaxed); }
