#include "host/PageFile.h"

#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

namespace qm::host {

namespace {

// A reading failure: the message names the line.
struct PageError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

std::string NodeName(const xmlNode* n) { return reinterpret_cast<const char*>(n->name); }

[[noreturn]] void Fail(const xmlNode* n, const std::string& what)
{
    throw PageError("line " + std::to_string(n ? xmlGetLineNo(n) : 0) + ": " + what);
}

class Element
{
public:
    // Checks that the element has no attribute outside the allowed ones.
    Element(const xmlNode* node, std::initializer_list<const char*> allowed) : m_node(node)
    {
        std::set<std::string> ok(allowed.begin(), allowed.end());
        for (const xmlAttr* a = node->properties; a; a = a->next) {
            const std::string name = reinterpret_cast<const char*>(a->name);
            if (a->ns || !ok.count(name))
                Fail(node, "<" + NodeName(node) + "> has no attribute " + name);
        }
    }

    bool Has(const char* name) const { return xmlHasProp(m_node, reinterpret_cast<const xmlChar*>(name)); }

    std::string Text(const char* name, const std::string& fallback = std::string()) const
    {
        xmlChar* v = xmlGetProp(m_node, reinterpret_cast<const xmlChar*>(name));
        if (!v)
            return fallback;
        std::string out = reinterpret_cast<const char*>(v);
        xmlFree(v);
        return out;
    }

    std::string Required(const char* name) const
    {
        if (!Has(name))
            Fail(m_node, "<" + NodeName(m_node) + "> needs " + name);
        return Text(name);
    }

    long long Number(const char* name, long long min, long long max, long long fallback) const
    {
        if (!Has(name))
            return fallback;
        return ParseNumber(Text(name), min, max, name);
    }

    long long ParseNumber(const std::string& text, long long min, long long max, const char* what) const
    {
        const char* s = text.c_str();
        bool negative = false;
        if (*s == '-') {
            negative = true;
            ++s;
        }
        int base = 10;
        if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
            base = 16;
            s += 2;
        }
        if (!*s || std::strlen(s) > 12)
            Fail(m_node, std::string(what) + " is not a number: " + text);
        long long v = 0;
        for (; *s; ++s) {
            int d = -1;
            if (*s >= '0' && *s <= '9')
                d = *s - '0';
            else if (base == 16 && *s >= 'a' && *s <= 'f')
                d = *s - 'a' + 10;
            else if (base == 16 && *s >= 'A' && *s <= 'F')
                d = *s - 'A' + 10;
            if (d < 0)
                Fail(m_node, std::string(what) + " is not a number: " + text);
            v = v * base + d;
        }
        if (negative)
            v = -v;
        if (v < min || v > max)
            Fail(m_node, std::string(what) + " is out of range: " + text);
        return v;
    }

    bool Flag(const char* name, bool fallback) const
    {
        if (!Has(name))
            return fallback;
        const std::string v = Text(name);
        if (v == "true" || v == "yes")
            return true;
        if (v == "false" || v == "no")
            return false;
        Fail(m_node, std::string(name) + " must be true or false");
    }

    int Coordinate(const char* name, int fallback = 0) const
    {
        return static_cast<int>(Number(name, -32768, 32767, fallback));
    }

    const xmlNode* Node() const { return m_node; }

private:
    const xmlNode* m_node;
};

std::uint16_t Modifiers(const Element& e)
{
    static const std::map<std::string, std::uint16_t> names
        = {{"command", events::kModCommand}, {"shift", events::kModShift}, {"option", events::kModOption},
            {"control", events::kModControl}, {"caps-lock", events::kModCapsLock}};
    std::uint16_t out = 0;
    const std::string text = e.Text("modifiers");
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == ',') {
            ++i;
            continue;
        }
        std::size_t end = text.find_first_of(" ,", i);
        if (end == std::string::npos)
            end = text.size();
        auto it = names.find(text.substr(i, end - i));
        if (it == names.end())
            Fail(e.Node(), "no modifier " + text.substr(i, end - i));
        out |= static_cast<std::uint16_t>(it->second);
        i = end;
    }
    return out;
}

std::uint8_t KeyCode(const Element& e)
{
    static const std::map<std::string, std::uint8_t> names = {{"return", input::kVK_Return},
        {"tab", input::kVK_Tab}, {"space", input::kVK_Space}, {"delete", input::kVK_Delete},
        {"escape", input::kVK_Escape}, {"enter", input::kVK_ANSI_KeypadEnter}, {"home", input::kVK_Home},
        {"end", input::kVK_End}, {"page-up", input::kVK_PageUp}, {"page-down", input::kVK_PageDown},
        {"forward-delete", input::kVK_ForwardDelete}, {"left", input::kVK_LeftArrow},
        {"right", input::kVK_RightArrow}, {"up", input::kVK_UpArrow}, {"down", input::kVK_DownArrow},
        {"f1", input::kVK_F1}};
    const std::string text = e.Required("code");
    auto it = names.find(text);
    if (it != names.end())
        return it->second;
    if (text.size() == 1 && ((text[0] >= 'a' && text[0] <= 'z') || (text[0] >= '0' && text[0] <= '9'))) {
        const input::KeyboardLayout& us = input::KeyboardLayout::UnitedStates();
        for (std::uint8_t k = 0; k < 0x50; ++k)
            if (us.Translate(k, 0) == static_cast<char16_t>(text[0]))
                return k;
    }
    return static_cast<std::uint8_t>(e.ParseNumber(text, 0, 127, "code"));
}

std::string Content(const xmlNode* n)
{
    xmlChar* c = xmlNodeGetContent(n);
    std::string out = c ? reinterpret_cast<const char*>(c) : "";
    xmlFree(c);
    return out;
}

ScriptValue ReadValue(const xmlNode* n)
{
    Element e(n, {});
    const std::string kind = NodeName(n);
    const std::string text = Content(n);
    if (kind == "string")
        return ScriptValue::String(text);
    if (kind == "int")
        return ScriptValue::Int(static_cast<std::int32_t>(e.ParseNumber(text, INT32_MIN, INT32_MAX, "int")));
    if (kind == "bool") {
        if (text != "true" && text != "false")
            Fail(n, "<bool> holds true or false");
        return ScriptValue::Bool(text == "true");
    }
    if (kind == "double") {
        char* end = nullptr;
        const double d = std::strtod(text.c_str(), &end);
        if (text.empty() || *end || !std::isfinite(d))
            Fail(n, "<double> holds a finite number");
        return ScriptValue::Double(d);
    }
    if (kind == "null")
        return ScriptValue::Null();
    if (kind == "void")
        return ScriptValue::Void();
    Fail(n, "no value <" + kind + ">");
}

void ReadValues(const xmlNode* parent, PageStep& step)
{
    for (const xmlNode* c = parent->children; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE)
            step.values.push_back(ReadValue(c));
        else if (c->type == XML_TEXT_NODE && !xmlIsBlankNode(c))
            Fail(parent, "text outside a value");
    }
}

void NoChildren(const xmlNode* n)
{
    for (const xmlNode* c = n->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE || (c->type == XML_TEXT_NODE && !xmlIsBlankNode(c)))
            Fail(n, "<" + NodeName(n) + "> holds nothing");
}

PageStep ReadStep(const xmlNode* n)
{
    PageStep s;
    s.line = static_cast<int>(xmlGetLineNo(n));
    const std::string kind = NodeName(n);
    static const std::map<std::string, PageStep::Kind> simple = {{"null-window", PageStep::kNullWindow},
        {"window", PageStep::kWindow}, {"focus", PageStep::kFocus}, {"blur", PageStep::kBlur},
        {"activate", PageStep::kActivate}, {"deactivate", PageStep::kDeactivate},
        {"update", PageStep::kUpdate}, {"form-value", PageStep::kFormValue},
        {"read-clipboard", PageStep::kReadClipboard}, {"close-window", PageStep::kCloseWindow}};
    if (kind != "set" && kind != "call" && kind != "dialog-answer" && kind != "modeless-answer")
        NoChildren(n);
    auto it = simple.find(kind);
    if (it != simple.end()) {
        Element e(n, {});
        s.kind = it->second;
    } else if (kind == "clip") {
        Element e(n, {"top", "left", "bottom", "right"});
        s.kind = PageStep::kClip;
        s.y = e.Coordinate("top");
        s.x = e.Coordinate("left");
        s.y2 = e.Coordinate("bottom");
        s.x2 = e.Coordinate("right");
    } else if (kind == "click" || kind == "mouse-down" || kind == "mouse-up" || kind == "null") {
        Element e(n, {"x", "y", "modifiers"});
        s.kind = kind == "click"   ? PageStep::kClick
            : kind == "mouse-down" ? PageStep::kMouseDown
            : kind == "mouse-up"   ? PageStep::kMouseUp
                                   : PageStep::kNull;
        s.x = e.Coordinate("x");
        s.y = e.Coordinate("y");
        s.modifiers = Modifiers(e);
    } else if (kind == "drag") {
        Element e(n, {"from-x", "from-y", "to-x", "to-y", "steps", "modifiers"});
        s.kind = PageStep::kDrag;
        s.x = e.Coordinate("from-x");
        s.y = e.Coordinate("from-y");
        s.x2 = e.Coordinate("to-x");
        s.y2 = e.Coordinate("to-y");
        s.count = static_cast<int>(e.Number("steps", 1, 1000, 4));
        s.modifiers = Modifiers(e);
    } else if (kind == "key") {
        Element e(n, {"code", "modifiers"});
        s.kind = PageStep::kKey;
        s.code = KeyCode(e);
        s.modifiers = Modifiers(e);
    } else if (kind == "type" || kind == "text-input" || kind == "pre-edit" || kind == "clipboard") {
        Element e(n, {"text"});
        s.kind = kind == "type"    ? PageStep::kType
            : kind == "text-input" ? PageStep::kTextInput
            : kind == "pre-edit"   ? PageStep::kPreEdit
                                   : PageStep::kClipboard;
        s.text = e.Required("text");
    } else if (kind == "wheel") {
        Element e(n, {"x", "y", "delta", "axis"});
        s.kind = PageStep::kWheel;
        s.x = e.Coordinate("x");
        s.y = e.Coordinate("y");
        s.count = static_cast<int>(e.Number("delta", -1000, 1000, -1));
        const std::string axis = e.Text("axis", "vertical");
        if (axis != "vertical" && axis != "horizontal")
            Fail(n, "axis is vertical or horizontal");
        s.axis = axis == "horizontal" ? 1 : 0;
    } else if (kind == "advance") {
        Element e(n, {"ms"});
        s.kind = PageStep::kAdvance;
        s.ms = static_cast<std::uint64_t>(e.Number("ms", 0, static_cast<long long>(kMaxAdvanceMs), -1));
        if (!e.Has("ms"))
            Fail(n, "<advance> needs ms");
    } else if (kind == "get") {
        Element e(n, {"property"});
        s.kind = PageStep::kGet;
        s.name = e.Required("property");
    } else if (kind == "set") {
        Element e(n, {"property"});
        s.kind = PageStep::kSet;
        s.name = e.Required("property");
        ReadValues(n, s);
        if (s.values.size() != 1)
            Fail(n, "<set> holds one value");
    } else if (kind == "call") {
        Element e(n, {"method"});
        s.kind = PageStep::kCall;
        s.name = e.Required("method");
        ReadValues(n, s);
    } else if (kind == "dialog-answer" || kind == "modeless-answer") {
        const bool modeless = kind == "modeless-answer";
        Element e(n,
            modeless ? std::initializer_list<const char*>{"kind", "press", "close"}
                     : std::initializer_list<const char*>{"press", "close", "fail"});
        s.kind = modeless ? PageStep::kModelessAnswer : PageStep::kDialogAnswer;
        if (modeless)
            s.name = e.Required("kind");
        const int ways
            = (e.Has("press") ? 1 : 0) + (e.Flag("close", false) ? 1 : 0) + (e.Flag("fail", false) ? 1 : 0);
        if (ways != 1)
            Fail(n,
                modeless ? "<modeless-answer> takes one of press and close"
                         : "<dialog-answer> takes one of press, close and fail");
        s.dialog.kind = e.Has("press") ? DialogAnswer::kPress
            : e.Flag("close", false)   ? DialogAnswer::kClose
                                       : DialogAnswer::kFail;
        s.dialog.press = e.Text("press");
        for (const xmlNode* c = n->children; c; c = c->next) {
            if (c->type == XML_TEXT_NODE && xmlIsBlankNode(c))
                continue;
            if (c->type != XML_ELEMENT_NODE || NodeName(c) != "field")
                Fail(n, "<" + kind + "> holds <field> elements only");
            NoChildren(c);
            Element f(c, {"name", "value"});
            s.dialog.fields.push_back(ui::DialogField{f.Required("name"), f.Required("value")});
        }
    } else if (kind == "menu-answer") {
        Element e(n, {"choose", "command"});
        s.kind = PageStep::kMenuAnswer;
        s.menu.choose = e.Text("choose");
        s.menu.command = static_cast<std::uint32_t>(e.Number("command", 1, UINT32_MAX, 0));
    } else if (kind == "put-file-answer") {
        Element e(n, {"folder", "name", "cancel"});
        s.kind = PageStep::kPutFileAnswer;
        s.putFile.save = !e.Flag("cancel", false);
        if (s.putFile.save) {
            s.putFile.folder = e.Required("folder");
            s.putFile.fileName = e.Required("name");
        }
    } else if (kind == "drag-answer") {
        Element e(n, {"drop", "x", "y"});
        s.kind = PageStep::kDragAnswer;
        const std::string drop = e.Required("drop");
        if (drop != "inside" && drop != "cancel")
            Fail(n, "drop is inside or cancel");
        s.drag.drop = drop == "inside";
        s.drag.atPoint = e.Has("x") || e.Has("y");
        s.x = e.Coordinate("x");
        s.y = e.Coordinate("y");
    } else {
        Fail(n, "no step <" + kind + ">");
    }
    return s;
}

void ReadSteps(const xmlNode* parent, std::vector<PageStep>& out, std::size_t& total)
{
    for (const xmlNode* c = parent->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE && xmlIsBlankNode(c))
            continue;
        if (c->type == XML_COMMENT_NODE)
            continue;
        if (c->type != XML_ELEMENT_NODE)
            Fail(parent, "text between steps");
        if (++total > kMaxPageSteps)
            Fail(c, "too many steps");
        out.push_back(ReadStep(c));
    }
}

void ReadPageElement(const xmlNode* root, Page& page)
{
    if (!root || NodeName(root) != "page")
        Fail(root, "the root element is not <page>");
    Element e(root, {"address", "cookie", "window-object", "has-method", "unanswered"});
    page.address = e.Text("address");
    page.cookie = e.Text("cookie");
    page.windowObject = e.Flag("window-object", true);
    page.hasMethod = e.Flag("has-method", true);
    const std::string unanswered = e.Text("unanswered", "default");
    if (unanswered != "default" && unanswered != "fail")
        Fail(root, "unanswered is default or fail");
    page.failWhenUnanswered = unanswered == "fail";
    bool sawPlugin = false, sawWindow = false, sawSteps = false;
    std::size_t total = 0;
    for (const xmlNode* c = root->children; c; c = c->next) {
        if ((c->type == XML_TEXT_NODE && xmlIsBlankNode(c)) || c->type == XML_COMMENT_NODE)
            continue;
        if (c->type != XML_ELEMENT_NODE)
            Fail(root, "text inside <page>");
        const std::string name = NodeName(c);
        if (name == "window" && !sawWindow) {
            sawWindow = true;
            NoChildren(c);
            Element w(c, {"x", "y", "width", "height", "title"});
            page.window.screenH = w.Coordinate("x", page.window.screenH);
            page.window.screenV = w.Coordinate("y", page.window.screenV);
            page.window.width = static_cast<int>(w.Number("width", 1, kMaxWindowSide, page.window.width));
            page.window.height = static_cast<int>(w.Number("height", 1, kMaxWindowSide, page.window.height));
            page.window.title = w.Text("title", page.window.title);
        } else if (name == "plugin" && !sawPlugin) {
            sawPlugin = true;
            Element p(c, {"module", "type", "x", "y", "width", "height"});
            page.module = p.Required("module");
            page.mimeType = p.Text("type", page.mimeType);
            page.x = p.Coordinate("x", page.x);
            page.y = p.Coordinate("y", page.y);
            page.width = static_cast<int>(p.Number("width", 0, kMaxWindowSide, page.width));
            page.height = static_cast<int>(p.Number("height", 0, kMaxWindowSide, page.height));
            for (const xmlNode* q = c->children; q; q = q->next) {
                if ((q->type == XML_TEXT_NODE && xmlIsBlankNode(q)) || q->type == XML_COMMENT_NODE)
                    continue;
                if (q->type != XML_ELEMENT_NODE || NodeName(q) != "param")
                    Fail(c, "<plugin> holds <param> elements only");
                NoChildren(q);
                Element param(q, {"name", "value"});
                TagParam t;
                t.name = param.Required("name");
                if (param.Has("value"))
                    t.value = param.Text("value");
                if (page.params.size() >= 1000)
                    Fail(q, "too many parameters");
                page.params.push_back(std::move(t));
            }
        } else if (name == "function") {
            Element f(c, {"name"});
            PageFunction fn;
            fn.name = f.Required("name");
            ReadSteps(c, fn.body, total);
            page.functions.push_back(std::move(fn));
        } else if (name == "steps" && !sawSteps) {
            sawSteps = true;
            Element s(c, {});
            ReadSteps(c, page.steps, total);
        } else {
            Fail(c, "<page> has no part <" + name + "> here");
        }
    }
    if (!sawPlugin)
        Fail(root, "the page has no <plugin>");
}

} // namespace

bool ReadPage(const std::string& xml, Page& out, std::string& error)
{
    out = Page();
    error.clear();
    if (xml.size() > kMaxPageBytes) {
        error = "the page is larger than " + std::to_string(kMaxPageBytes) + " bytes";
        return false;
    }
    xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "page.xml", nullptr,
        XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        const xmlError* err = xmlGetLastError();
        error = "not well-formed XML";
        if (err && err->line > 0)
            error = "line " + std::to_string(err->line) + ": " + error;
        xmlResetLastError();
        return false;
    }
    bool ok = false;
    try {
        // Entity declarations would let a small page grow without bound
        // when its texts are read; a page has no use for them.
        if (doc->intSubset || doc->extSubset)
            throw PageError("a page has no document type declaration");
        Page page;
        ReadPageElement(xmlDocGetRootElement(doc), page);
        out = std::move(page);
        ok = true;
    } catch (const PageError& e) {
        error = e.what();
    } catch (...) {
        error = "out of memory";
    }
    xmlFreeDoc(doc);
    return ok;
}

} // namespace qm::host
