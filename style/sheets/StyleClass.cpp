// Freeing and copying sheet records. Statement trees branch two ways (steps
// and conditions) and either chain may be long, so every walk keeps its own
// stack instead of recursing.

#include "style/sheets/StyleClass.h"

#include <new>
#include <utility>

SELECTOR_STATEMENT* FindStyleStm(int kind, SELECTOR_STATEMENT* statement)
{
    for (SELECTOR_STATEMENT* s = statement; s; s = s->nextCondition) {
        if (s->kind == kind)
            return s;
    }
    return nullptr;
}

void FreeStyleStm(SELECTOR_STATEMENT* statement)
{
    std::vector<SELECTOR_STATEMENT*> pending;
    if (statement)
        pending.push_back(statement);
    while (!pending.empty()) {
        SELECTOR_STATEMENT* s = pending.back();
        pending.pop_back();
        if (s->nextStep)
            pending.push_back(s->nextStep);
        if (s->nextCondition)
            pending.push_back(s->nextCondition);
        delete s;
    }
}

void FreeStyleSelector(STYLE_SELECTOR* selector)
{
    while (selector) {
        STYLE_SELECTOR* next = selector->next;
        FreeStyleStm(selector->statement);
        delete selector;
        selector = next;
    }
}

void FreeStyleClassList(STYLE_CLASS* rules)
{
    while (rules) {
        STYLE_CLASS* next = rules->next;
        FreeStyleSelector(rules->selectors);
        delete rules;
        rules = next;
    }
}

SELECTOR_STATEMENT* CopyStyleStatement(const SELECTOR_STATEMENT* statement)
{
    SELECTOR_STATEMENT* root = nullptr;
    try {
        // Each entry: a source statement and the link of the copy that is to
        // point at its copy.
        std::vector<std::pair<const SELECTOR_STATEMENT*, SELECTOR_STATEMENT**>> pending;
        pending.emplace_back(statement, &root);
        while (!pending.empty()) {
            auto [source, link] = pending.back();
            pending.pop_back();
            if (!source)
                continue;
            SELECTOR_STATEMENT* copy = new SELECTOR_STATEMENT;
            copy->kind = source->kind;
            copy->name = source->name;
            copy->value = source->value;
            copy->op = source->op;
            *link = copy;
            pending.emplace_back(source->nextStep, &copy->nextStep);
            pending.emplace_back(source->nextCondition, &copy->nextCondition);
        }
    } catch (const std::bad_alloc&) {
        FreeStyleStm(root);
        root = nullptr;
    }
    return root;
}

STYLE_SELECTOR* CopyStyleSelectors(const STYLE_SELECTOR* selectors)
{
    STYLE_SELECTOR* head = nullptr;
    STYLE_SELECTOR** link = &head;
    try {
        for (const STYLE_SELECTOR* s = selectors; s; s = s->next) {
            STYLE_SELECTOR* copy = new STYLE_SELECTOR;
            *link = copy;
            link = &copy->next;
            copy->elementName = s->elementName;
            copy->classText = s->classText;
            copy->text = s->text;
            copy->specificity = s->specificity;
            if (s->statement) {
                copy->statement = CopyStyleStatement(s->statement);
                if (!copy->statement)
                    throw std::bad_alloc();
            }
        }
    } catch (const std::bad_alloc&) {
        FreeStyleSelector(head);
        head = nullptr;
    }
    return head;
}

STYLE_CLASS* CopyStyleClassList(const STYLE_CLASS* rules)
{
    STYLE_CLASS* head = nullptr;
    STYLE_CLASS** link = &head;
    try {
        for (const STYLE_CLASS* r = rules; r; r = r->next) {
            STYLE_CLASS* copy = new STYLE_CLASS;
            *link = copy;
            link = &copy->next;
            copy->style = r->style;
            copy->selectorText = r->selectorText;
            copy->declarations = r->declarations;
            copy->precedence = r->precedence;
            copy->invalid = r->invalid;
            if (r->selectors) {
                copy->selectors = CopyStyleSelectors(r->selectors);
                if (!copy->selectors)
                    throw std::bad_alloc();
            }
        }
    } catch (const std::bad_alloc&) {
        FreeStyleClassList(head);
        head = nullptr;
    }
    return head;
}
