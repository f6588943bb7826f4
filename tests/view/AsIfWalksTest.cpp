// The view reaches only the objects a paint, an event or a tick can affect, and must behave
// exactly as if it offered everything to every object. Random crowded worlds are built twice
// alike: one is shown by the view, the other is driven by the plain walks of the design (drawn
// last to first, offered events first to last until one takes them, every object ticked),
// written out here as the reference. After every step both worlds must hold the same objects in
// the same places and states, the window must show the pixels of the plain walk, and at the end
// both must save the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ViewTestKit.h"
#include "document/World.h"
#include "document/WorldFile.h"
#include "gdi/CBitmap.h"
#include "gdi/CDC.h"
#include "gdi/GdiTypes.h"
#include "objects/DraggableObject.h"
#include "support/RowName.h"
#include "view/CWorldView.h"

namespace {

using Trace = std::vector<std::string>;
using Handler = bool (InteractableObject::*)(WorldContext&);

/// A draggable object of a class of its own, so the view cannot know what it does: it notes
/// every event it is offered, and every third press it takes also moves a plain object (with
/// wrapping arithmetic, since some objects lie at the 32-bit limits).
class Recorder : public DraggableObject {
public:
    Recorder(int id, Trace* trace) : id_(id), trace_(trace) {}
    bool OnLButtonDown(WorldContext& world) override {
        return Note("down", DraggableObject::OnLButtonDown(world), true);
    }
    bool OnLButtonUp(WorldContext& world) override {
        return Note("up", DraggableObject::OnLButtonUp(world), false);
    }
    bool OnRButtonDown(WorldContext& /*world*/) override { return Note("rdown", false, false); }
    bool OnMouseMove(WorldContext& world) override {
        return Note("move", DraggableObject::OnMouseMove(world), false);
    }
    DrawableObject* victim = nullptr;

private:
    bool Note(const char* event, bool taken, bool press) {
        trace_->push_back(std::to_string(id_) + " " + event + (taken ? " taken" : ""));
        if (press && victim != nullptr && ++presses_ % 3 == 0) {
            DrawPoint at(0, 0, 0);
            victim->GetPosition(at);
            victim->SetPosition(
                DrawPoint(AddWrapping(at.GetX(), 7), SubtractWrapping(at.GetY(), 5), 0));
        }
        return taken;
    }
    int id_;
    Trace* trace_;
    int presses_ = 0;
};

/// An updateable object that changes something on every third tick: it moves a plain object.
class Mover : public UpdateableObject {
public:
    explicit Mover(DrawableObject* target) : target_(target) {}
    bool Update(WorldContext& /*world*/) override {
        if (++ticks_ % 3 != 0) {
            return false;
        }
        DrawPoint at(0, 0, 0);
        target_->GetPosition(at);
        target_->SetPosition(
            DrawPoint(SubtractWrapping(at.GetX(), 3), AddWrapping(at.GetY(), 2), 0));
        return true;
    }
    std::ostream& Write(std::ostream& out) const override { return out; }
    void Read(std::istream& /*in*/) override {}

private:
    DrawableObject* target_;
    int ticks_ = 0;
};

struct WalkCase {
    const char* name;
    std::uint32_t seed;
    SIZE world;
    int objects;
    int recorders;  ///< objects of another class among them
    int steps;
};

/// The text of one random object: crowded shapes of every kind, and now and then an extreme one
/// (huge, inverted, wide, or placed near the limits of 32 bits).
std::string RandomObjectText(std::mt19937& random, SIZE world) {
    auto between = [&random](std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random);
    };
    auto point = [](std::int64_t x, std::int64_t y, std::int64_t r) {
        return "point { color { 0 0 0 } " + std::to_string(x) + " " + std::to_string(y) + " " +
               std::to_string(r) + " } ";
    };
    const bool extreme = between(0, 19) == 0;
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    std::int64_t x = between(-30, world.cx + 30), y = between(-30, world.cy + 30);
    if (extreme && between(0, 1) == 0) {
        x = between(0, 1) == 0 ? limit - between(0, 40) : -limit + between(0, 40);
    }
    std::string text = "draggable { geometry { " + point(x, y, between(-3, 3));
    const std::int64_t reach = extreme ? 400 : 30;
    for (std::int64_t shape = between(0, 4); shape > 0; --shape) {
        const std::string colour = "color { " + std::to_string(between(0, 255)) + " " +
                                   std::to_string(between(0, 255)) + " " +
                                   std::to_string(between(0, 255)) + " } ";
        const char* filled = between(0, 1) == 0 ? "t " : "f ";
        auto corner = [&] { return point(between(-reach, reach), between(-reach, reach), 0); };
        switch (between(0, 3)) {
            case 0:
                text += "point { " + colour + std::to_string(between(-2, 2)) + " " +
                        std::to_string(between(-2, 2)) + " " +
                        std::to_string(between(-reach / 2, reach / 2)) + " } ";
                break;
            case 1:
                text += "line { " + colour + std::to_string(between(-3, extreme ? 90 : 7)) + " " +
                        corner() + corner() + " } ";
                break;
            case 2:
                text += "rectangle { " + colour + filled + corner() + corner() + " } ";
                break;
            default:
                text += "ellipse { " + colour + filled + "rectangle { color { 0 0 0 } f " +
                        corner() + corner() + " } } ";
                break;
        }
    }
    return text + "} } ";
}

/// One of the two worlds, built from the seed alike.
struct Side {
    World world;
    Trace trace;
};

void Build(Side& side, const WalkCase& row) {
    std::mt19937 random(row.seed);
    std::vector<DrawableObject*> plain;
    std::vector<Recorder*> recorders;
    for (int i = 0; i < row.objects; ++i) {
        const std::string text = RandomObjectText(random, row.world);
        const bool recorder =
            static_cast<int>(random() % static_cast<unsigned>(row.objects)) < row.recorders;
        DraggableObject* object = recorder ? new Recorder(i, &side.trace) : new DraggableObject;
        std::istringstream in(text);
        in >> *object;
        side.world.AddObject(object);
        if (recorder) {
            recorders.push_back(static_cast<Recorder*>(object));
        } else {
            plain.push_back(object);
        }
        if (i % 40 == 20 && !plain.empty()) {
            side.world.AddObject(new Mover(plain[random() % plain.size()]));
        }
    }
    for (Recorder* recorder : recorders) {
        recorder->victim = plain.empty() ? nullptr : plain[random() % plain.size()];
    }
}

/// Everything the objects and the world hold that the events can change.
std::string State(const World& world) {
    std::ostringstream text;
    for (auto* node = world.GetAllObjects().head; node != nullptr; node = node->next) {
        if (const auto* object = dynamic_cast<const DraggableObject*>(node->value)) {
            DrawPoint at(0, 0, 0);
            object->GetPosition(at);
            text << at.GetX() << "," << at.GetY() << "," << at.GetRadius()
                 << (object->IsDragging() ? "d " : " ");
        }
    }
    DrawPoint mouse(0, 0, 0);
    world.GetMousePosition(mouse);
    text << "mouse " << mouse.GetX() << "," << mouse.GetY() << " modified " << world.IsModified();
    return text.str();
}

/// The places in the list of all objects of those being dragged.
std::vector<int> Dragging(const World& world) {
    std::vector<int> dragging;
    int at = 0;
    for (auto* node = world.GetAllObjects().head; node != nullptr; node = node->next, ++at) {
        const auto* object = dynamic_cast<const DraggableObject*>(node->value);
        if (object != nullptr && object->IsDragging()) {
            dragging.push_back(at);
        }
    }
    return dragging;
}

// The plain walks, as the one-page design states them.
void PlainOffer(World& world, Handler handler) {
    for (auto* node = world.GetInteractables().head; node != nullptr; node = node->next) {
        if ((node->value->*handler)(world)) {
            return;
        }
    }
}

void PlainTick(World& world) {
    bool changed = false;
    for (auto* node = world.GetUpdateables().head; node != nullptr; node = node->next) {
        changed = node->value->Update(world) || changed;
    }
    if (changed) {
        world.MarkChanged();
    }
}

/// The client area as the plain walk paints it, scrolled to `scroll`.
std::vector<std::uint32_t> PlainPicture(World& world, SIZE client, POINT scroll) {
    CBitmap bitmap;
    bitmap.CreateBitmap(client.cx, client.cy);
    CDC surface;
    surface.CreateCompatibleDC(nullptr);
    surface.SelectObject(&bitmap);
    surface.SetViewportOrg(-scroll.x, -scroll.y);
    CBrush white(RGB(255, 255, 255));
    surface.SelectObject(&white);
    surface.PatBlt(scroll.x, scroll.y, client.cx, client.cy, PATCOPY);
    for (auto* node = world.GetDrawables().tail; node != nullptr; node = node->prev) {
        node->value->Draw(surface, world);
    }
    return std::vector<std::uint32_t>(bitmap.GetBits(), bitmap.GetBits() + client.cx * client.cy);
}

/// Two worlds built alike from the row: one shown through the view in a window of
/// kClient, one walked the plain way.
class AsIfWalks : public ::testing::TestWithParam<WalkCase> {
protected:
    static constexpr SIZE kClient{160, 120};

    void SetUp() override {
        const WalkCase& row = GetParam();
        Build(viewSide, row);
        Build(plainSide, row);
        // The harness's own world stays empty: the view moves over to the built one.
        viewSide.world.AddView(&shown.view);
        viewSide.world.SetWorldSize(row.world.cx, row.world.cy);
        plainSide.world.SetWorldSize(row.world.cx, row.world.cy);
        shown.view.OnInitialUpdate();
    }

    Side viewSide;
    Side plainSide;
    velk_test::ViewHarness shown{kClient};
};

TEST_P(AsIfWalks, GiveThePixelsStatesAndTextOfThePlainWalks) {
    const WalkCase& row = GetParam();
    const SIZE client = kClient;
    shown.host.PumpPaint();
    World& plain = plainSide.world;
    std::mt19937 random(row.seed * 7 + 1);
    auto clientPoint = [&] {
        return POINT{static_cast<std::int32_t>(random() % 200) - 20,
                     static_cast<std::int32_t>(random() % 160) - 20};
    };
    POINT held{};
    for (int step = 0; step < row.steps; ++step) {
        const POINT scroll = shown.view.GetScrollPosition();
        const unsigned what = random() % 100;
        if (what < 40) {
            // Moves cluster around the last press, so that drags carry objects across others.
            const POINT at = random() % 2 == 0 ? clientPoint()
                                               : POINT{held.x + static_cast<int>(random() % 9) - 4,
                                                       held.y + static_cast<int>(random() % 9) - 4};
            shown.host.MouseMove(at);
            PlainOffer(plain, &InteractableObject::OnMouseMove);
            plain.SetMousePosition(DrawPoint(at.x + scroll.x, at.y + scroll.y, 0));
        } else if (what < 55) {
            held = clientPoint();
            shown.host.MouseMove(held);
            PlainOffer(plain, &InteractableObject::OnMouseMove);
            plain.SetMousePosition(DrawPoint(held.x + scroll.x, held.y + scroll.y, 0));
            shown.host.ButtonDown(HeadlessHost::Button::Left, held);
            PlainOffer(plain, &InteractableObject::OnLButtonDown);
        } else if (what < 65) {
            shown.host.ButtonUp(HeadlessHost::Button::Left, held);
            PlainOffer(plain, &InteractableObject::OnLButtonUp);
        } else if (what < 70) {
            shown.host.ButtonDown(HeadlessHost::Button::Right, held);
            PlainOffer(plain, &InteractableObject::OnRButtonDown);
            shown.host.ButtonUp(HeadlessHost::Button::Right, held);
            PlainOffer(plain, &InteractableObject::OnRButtonUp);
        } else if (what < 80) {
            shown.host.FireTimer(CWorldView::kTimerId);
            PlainTick(plain);
        } else if (what < 85) {
            // A move behind the view's back, through the object itself.
            const int n = static_cast<int>(random() % static_cast<unsigned>(row.objects));
            const DrawPoint to(static_cast<std::int32_t>(random() % 300) - 50,
                               static_cast<std::int32_t>(random() % 300) - 50, 0);
            for (World* world : {&viewSide.world, &plain}) {
                auto* node = world->GetAllObjects().head;
                for (int i = 0; i < n; ++i) {
                    node = node->next;
                }
                if (auto* object = dynamic_cast<DrawableObject*>(node->value)) {
                    object->SetPosition(to);
                }
            }
        } else if (what < 90) {
            shown.host.Scroll(random() % 2 == 0 ? SB_HORZ : SB_VERT,
                              static_cast<std::int32_t>(random() % 400));
        } else {
            // A paint of part of the window must show the plain walk's pixels in that part.
            const std::int32_t left = static_cast<std::int32_t>(random() % 150);
            const std::int32_t top = static_cast<std::int32_t>(random() % 110);
            const RECT box{left, top, left + 1 + static_cast<std::int32_t>(random() % 60),
                           top + 1 + static_cast<std::int32_t>(random() % 60)};
            shown.host.PumpPaint();
            shown.view.InvalidateRect(&box, false);
            shown.host.PumpPaint();
            const std::vector<std::uint32_t> want = PlainPicture(plain, client, scroll);
            const CBitmap& pixels = shown.host.GetClientPixels();
            for (std::int32_t y = box.top; y < std::min(box.bottom, client.cy); ++y) {
                for (std::int32_t x = box.left; x < std::min(box.right, client.cx); ++x) {
                    ASSERT_EQ(pixels.GetBits()[y * client.cx + x], want[y * client.cx + x])
                        << "step " << step << " at " << x << "," << y;
                }
            }
        }
        ASSERT_EQ(State(viewSide.world), State(plain)) << "step " << step;
        ASSERT_EQ(viewSide.trace, plainSide.trace) << "step " << step;
        if (step % 4 == 0) {
            shown.view.Invalidate(false);
            shown.host.PumpPaint();
            const std::vector<std::uint32_t> want =
                PlainPicture(plain, client, shown.view.GetScrollPosition());
            const CBitmap& pixels = shown.host.GetClientPixels();
            ASSERT_TRUE(std::equal(want.begin(), want.end(), pixels.GetBits())) << "step " << step;
        }
    }
    std::ostringstream viewText, plainText;
    ASSERT_TRUE(WriteWorld(viewText, viewSide.world));
    ASSERT_TRUE(WriteWorld(plainText, plain));
    EXPECT_EQ(viewText.str(), plainText.str());
}

// A press at every point of the window, each followed by a release: the object that takes
// each one is the plain walk's, to the pixel.
TEST_P(AsIfWalks, PressesEverywhereTakeTheObjectsOfThePlainWalk) {
    const SIZE client = kClient;
    shown.host.Scroll(SB_HORZ, 30);
    const POINT scroll = shown.view.GetScrollPosition();
    World& plain = plainSide.world;
    for (std::int32_t y = -2; y < client.cy; ++y) {
        for (std::int32_t x = -2; x < client.cx; ++x) {
            shown.host.MouseMove(POINT{x, y});
            shown.host.ButtonDown(HeadlessHost::Button::Left, POINT{x, y});
            PlainOffer(plain, &InteractableObject::OnMouseMove);
            plain.SetMousePosition(DrawPoint(x + scroll.x, y + scroll.y, 0));
            PlainOffer(plain, &InteractableObject::OnLButtonDown);
            ASSERT_EQ(Dragging(viewSide.world), Dragging(plain)) << x << "," << y;
            shown.host.ButtonUp(HeadlessHost::Button::Left, POINT{x, y});
            PlainOffer(plain, &InteractableObject::OnLButtonUp);
            ASSERT_EQ(viewSide.trace, plainSide.trace) << x << "," << y;
            viewSide.trace.clear();
            plainSide.trace.clear();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(CrowdedWorlds, AsIfWalks,
                         ::testing::Values(WalkCase{"plain_only", 1, SIZE{300, 220}, 150, 0, 800},
                                           WalkCase{"few_others", 2, SIZE{300, 220}, 150, 6, 800},
                                           WalkCase{"many_others", 3, SIZE{260, 200}, 90, 30, 600},
                                           WalkCase{"dense", 4, SIZE{200, 160}, 300, 3, 600},
                                           WalkCase{"denser", 7, SIZE{200, 160}, 600, 0, 600},
                                           WalkCase{"beyond_the_back_buffer", 5, SIZE{40000, 300},
                                                    200, 4, 600},
                                           WalkCase{"sparse", 6, SIZE{600, 500}, 40, 2, 600}),
                         velk_test::RowName());

}  // namespace
