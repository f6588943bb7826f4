#pragma once

#include <functional>
#include <string>
#include <vector>

/// The state a command's menu item or key should show, asked of the command targets before
/// it is shown or run. A command that no target answers stays disabled.
class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : id_(id) {}

    unsigned GetId() const { return id_; }
    void Enable(bool on = true) {
        enabled_ = on;
        handled_ = true;
    }
    void SetCheck(bool checked = true) { checked_ = checked; }

    bool IsEnabled() const { return enabled_; }
    bool IsChecked() const { return checked_; }
    /// True once some target answered for the command.
    bool IsHandled() const { return handled_; }

private:
    unsigned id_;
    bool enabled_ = false;
    bool checked_ = false;
    bool handled_ = false;
};

/// An object that handles commands by identifier. A target declares its handlers once, when it
/// is made; OnCmdMsg looks there and, in targets that route, passes the command on to others.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    /// With ui null: runs the command's handler and answers true, or answers false when no
    /// handler was found. With ui: asks the command's state into ui and answers whether some
    /// target answered. The base looks only at this target's own handlers.
    virtual bool OnCmdMsg(unsigned id, CCmdUI* ui);

protected:
    /// Declares the handler of a command; the command is enabled unless an update handler
    /// says otherwise.
    void OnCommand(unsigned id, std::function<void()> handler);
    /// Declares one handler for the commands first to last; it is told which one ran.
    void OnCommandRange(unsigned first, unsigned last, std::function<void(unsigned)> handler);
    /// Declares how a command's state is decided.
    void OnUpdateCommandUI(unsigned id, std::function<void(CCmdUI&)> update);
    void OnUpdateCommandUIRange(unsigned first, unsigned last, std::function<void(CCmdUI&)> update);

private:
    struct Entry {
        unsigned first;
        unsigned last;
        std::function<void(unsigned)> handler;
        std::function<void(CCmdUI&)> update;
    };
    const Entry* FindHandler(unsigned id) const;
    const Entry* FindUpdate(unsigned id) const;

    std::vector<Entry> entries_;
};
