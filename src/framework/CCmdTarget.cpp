#include "framework/CCmdTarget.h"

bool CCmdTarget::OnCmdMsg(unsigned id, CCmdUI* ui) {
    if (ui != nullptr) {
        if (const Entry* update = FindUpdate(id)) {
            update->update(*ui);
            return true;
        }
        if (FindHandler(id) != nullptr) {
            ui->Enable();
            return true;
        }
        return false;
    }
    if (const Entry* entry = FindHandler(id)) {
        entry->handler(id);
        return true;
    }
    return false;
}

void CCmdTarget::OnCommand(unsigned id, std::function<void()> handler) {
    entries_.push_back({id, id, [handler = std::move(handler)](unsigned) { handler(); }, {}});
}

void CCmdTarget::OnCommandRange(unsigned first, unsigned last,
                                std::function<void(unsigned)> handler) {
    entries_.push_back({first, last, std::move(handler), {}});
}

void CCmdTarget::OnUpdateCommandUI(unsigned id, std::function<void(CCmdUI&)> update) {
    entries_.push_back({id, id, {}, std::move(update)});
}

void CCmdTarget::OnUpdateCommandUIRange(unsigned first, unsigned last,
                                        std::function<void(CCmdUI&)> update) {
    entries_.push_back({first, last, {}, std::move(update)});
}

const CCmdTarget::Entry* CCmdTarget::FindHandler(unsigned id) const {
    for (const Entry& entry : entries_) {
        if (entry.handler && entry.first <= id && id <= entry.last) {
            return &entry;
        }
    }
    return nullptr;
}

const CCmdTarget::Entry* CCmdTarget::FindUpdate(unsigned id) const {
    for (const Entry& entry : entries_) {
        if (entry.update && entry.first <= id && id <= entry.last) {
            return &entry;
        }
    }
    return nullptr;
}
