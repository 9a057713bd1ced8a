#include "style/paint/DocumentPng.h"

#include "element/Element.h"
#include "element/services/XHTMLServices.h"
#include "platform/cg/Context.h"
#include "platform/cg/PngExport.h"
#include "style/paint/OffscreenView.h"

DocumentPngResult WriteDocumentPNG(CElement* root, const std::string& path)
{
    try {
        const qm::cg::Context* ctx = root && root->m_owner ? root->m_dc.get() : nullptr;
        if (!ctx)
            return DocumentPngResult::NotPainted;
        const CXDocServices& doc = root->m_owner->m_doc;
        const int width = doc.m_layoutWidth, height = doc.m_layoutHeight;
        if (width < 1 || height < 1 || width > ctx->Width() || height > ctx->Height())
            return DocumentPngResult::NotPainted;
        // The document paints opaque over its whole box (the body fills it
        // with its own colour or the document's), so it is written as RGB,
        // a quarter fewer bytes to compress; should a pixel that is not
        // opaque turn up, it is written again with alpha.
        for (const bool opaque : {true, false}) {
            qm::cg::PngStream out;
            if (!out.Begin(path, width, height, opaque))
                return DocumentPngResult::NotWritten;
            bool written = true;
            const bool streamed = StreamDocumentRows(root, 0, height, [&](int first, int end) {
                written = out.AppendRows(*root->m_dc, 0, first, end - first);
                return written;
            });
            if (out.Translucent())
                continue;
            if (!written)
                return DocumentPngResult::NotWritten;
            if (!streamed)
                return DocumentPngResult::NotPainted;
            return out.Finish() ? DocumentPngResult::Written : DocumentPngResult::NotWritten;
        }
        return DocumentPngResult::NotWritten;
    } catch (...) {
        return DocumentPngResult::NotWritten;
    }
}
