#include "scene/animator.h"
#include "app/ticks.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Callbacks record into this log: "name@time".
std::vector<std::string> calls;

void record(void* name) {
    calls.push_back(std::string(static_cast<const char*>(name)) + "@" +
                    std::to_string(int(currentAction->time)));
}

void finishAt32(void* name) {
    record(name);
    if (currentAction->time >= 32)
        finishAction();
}

class AnimatorRules : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        frameTime = 1000;
    }
    // One frame for a node: the clock moves by `step`, then its animator updates.
    void frame(Animator& animator, uint32_t step = 16) {
        frameTime += step;
        animator.update();
    }
    static Action action(double duration, ActionCallback callback, const char* name) {
        Action a = makeAction(duration);
        a.setCallback(callback, const_cast<char*>(name));
        return a;
    }
};

TEST_F(AnimatorRules, RunOnceActionRunsOnceEvenWithAZeroStep) {
    Animator animator;
    animator.start(action(-1, record, "once"));
    frame(animator, 0);
    frame(animator, 0);
    frame(animator);
    EXPECT_EQ(calls, (std::vector<std::string>{"once@0"}));
    EXPECT_TRUE(animator.running.empty());
}

TEST_F(AnimatorRules, EndlessActionIsCalledOnZeroStepsWithUnchangedTime) {
    Animator animator;
    animator.start(action(0, record, "endless"));
    frame(animator);
    frame(animator, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"endless@16", "endless@16"}));
}

TEST_F(AnimatorRules, TimedActionGetsItsLastCallInTheFrameThatReachesItsDuration) {
    Animator animator;
    animator.start(action(250, record, "timed"));
    for (int i = 0; i < 20; ++i)
        frame(animator);
    ASSERT_EQ(calls.size(), 16u);  // 16 x 16 ms = 256 >= 250
    EXPECT_EQ(calls.back(), "timed@256");
    EXPECT_TRUE(animator.running.empty());
}

TEST_F(AnimatorRules, FinishedActionIsNotCalledAgainAndLeavesAtTheNextUpdate) {
    Animator animator;
    animator.start(action(0, finishAt32, "self"));
    frame(animator);
    frame(animator);  // finishes itself at 32 ms
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(animator.running.size(), 1u) << "still listed until the next update";
    frame(animator);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_TRUE(animator.running.empty());
}

SceneNode* chainNode = nullptr;
void startStateOne(void*) {
    record(const_cast<char*>("starter"));
    chainNode->states.enterState(1);
}

TEST_F(AnimatorRules, ActionsStartedByACallbackRunInTheSameUpdate) {
    SceneNode node;
    chainNode = &node;
    node.states.addState();
    node.states.addAction(action(-1, startStateOne, "starter"));
    node.states.addState();
    node.states.addAction(action(0, record, "started"));
    node.states.enterState(0);
    frame(node.animator);
    EXPECT_EQ(calls, (std::vector<std::string>{"starter@16", "started@16"}));
}

TEST_F(AnimatorRules, EnteringAStateTwiceRunsTwoCopies) {
    SceneNode node;
    node.states.addState();
    node.states.addAction(action(0, record, "watcher"));
    node.states.enterState(0);
    node.states.enterState(0);
    frame(node.animator);
    EXPECT_EQ(calls, (std::vector<std::string>{"watcher@16", "watcher@16"}));
}

TEST_F(AnimatorRules, LinksEnterTheirStatesInOrderDepthFirst) {
    // Three machines sharing one animator, so that start order is visible.
    SceneNode p, q, r, s;
    q.states.animator = r.states.animator = s.states.animator = &p.animator;
    p.states.addState();  // no actions, links only
    p.states.addLink(&q.states, 0);
    p.states.addLink(&s.states, 0);
    q.states.addState();
    q.states.addAction(action(0, record, "q"));
    q.states.addLink(&r.states, 0);
    r.states.addState();
    r.states.addAction(action(0, record, "r"));
    s.states.addState();
    s.states.addAction(action(0, record, "s"));
    p.states.enterState(0);
    frame(p.animator);
    EXPECT_EQ(calls, (std::vector<std::string>{"q@16", "r@16", "s@16"}));
}

TEST_F(AnimatorRules, StockActionsMoveTheOffsetAsFunctionsOfTime) {
    Animator animator;
    Action wobble = makeAction(0);
    wobble.setCallback(oscillateAction, 1, 2.0, 3.0, 0.0);
    Action drift = makeAction(0);
    drift.setCallback(driftAction, 0, 5.0, 0.0, 0.0);
    animator.start(wobble);
    animator.start(drift);
    for (int i = 0; i < 25; ++i)
        frame(animator);  // 400 ms
    EXPECT_NEAR(animator.offset.position[1], 2 * std::sin(3 * 0.4), 1e-9);
    EXPECT_NEAR(animator.offset.position[0], 5 * 0.4, 1e-9);
    EXPECT_EQ(animator.offset.position[2], 0);
}

TEST_F(AnimatorRules, CloseAfterReleasesOnlyOnceTheTimeIsExceeded) {
    SceneNode node;
    node.states.addState();
    Action close = makeAction(0);
    close.setCallback(closeAfterAction, 500.0, 0.0, 0.0);
    node.states.addAction(close);
    node.states.enterState(0);
    currentNode = &node;
    frame(node.animator, 250);
    frame(node.animator, 250);
    EXPECT_FALSE(node.releaseRequested) << "exactly 500 ms is not past 500";
    frame(node.animator, 1);
    EXPECT_TRUE(node.releaseRequested);
}

TEST(StateMachinePreconditions, BrokenCallsAreCaught) {
    SceneNode node;
#ifdef NDEBUG
    node.states.addAction(makeAction(0));
    node.states.enterState(3);
    EXPECT_TRUE(node.animator.running.empty()) << "ignored in a release build";
#else
    EXPECT_DEATH(node.states.addAction(makeAction(0)), "addAction before addState");
    node.states.addState();
    EXPECT_DEATH(node.states.enterState(3), "does not exist");
#endif
}

}  // namespace
