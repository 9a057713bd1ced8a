#pragma once
// The pictures of image elements, loaded once per document: the document's
// picture pool maps a source to its decoded CImage (style/Image.h), so every
// image element that names the same source shares one picture.
//
// A pool key is the whole source with blanks trimmed at both ends and its
// letter case kept: file names and URLs are case-sensitive here, so
// "A.png" and "a.png" are two pictures. The key is a growable string, so a
// source of any length is kept whole and two long sources that differ only
// near their ends never share a picture.

class CElement;
class CImage;

// The picture for src in e's document: the pooled one when the source was
// loaded before, else a new picture that gets the control as its network
// owner and the document's proxy settings, is loaded from the source
// (CImage::LoadImage, context handed on) and joins the pool (a picture that
// failed to load joins too, empty, so it is not fetched again on every
// paint; ReloadImageSrc fetches again). Null for a null element or source,
// an element without root or owner, an empty source, or when loading fails
// with an exception. The pool owns the picture.
CImage* GetImage(CElement* e, const unsigned short* src, void* context);

// For every image element in e's subtree (e included) whose src, resolved
// against the document's base URL, equals url exactly: its width and height
// attributes are taken off, it reloads its picture (ReLoad(context)), and
// they are set again to the pooled picture's size ("%d"), which also becomes
// the recorded box size where the style gives none; without a picture size
// the old values come back. Answers whether any image matched.
bool ReloadImageSrc(CElement* e, const unsigned short* url, void* context);
