#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <vector>

// The send times of the sampling commands still waiting for their replies.
// The box answers in the order it was asked, so each reply read answers the
// oldest command waiting and takes its time: replies that a USB adapter holds
// back and hands over in a bunch each keep the time of their own command.
//
// A reply lost on the line would pair every later reply with the command
// before its own. The line has caught up whenever a read leaves no command
// waiting, which on a sound line happens every few ticks, even through an
// adapter that holds replies for 16 ms. When it has not for GiveUpAfter, each
// read gives the oldest command up, until it has: so a lost reply skews only
// the times of the next GiveUpAfter, and silence keeps the queue short.
class CommandTimes {
public:
    static constexpr std::chrono::milliseconds GiveUpAfter{100};

    // `replies` bytes were read at `now`: the time of each, oldest first. A
    // reply with no command left waiting (its command given up) is timed by
    // the read.
    std::vector<std::chrono::nanoseconds> replied(std::size_t replies,
                                                  std::chrono::nanoseconds now);
    // A command went out at `at`; a read at the same tick is not its reply.
    void sent(std::chrono::nanoseconds at) { m_waiting.push_back(at); }
    // Nothing will answer the commands waiting (the port has gone).
    void clear() { m_waiting.clear(); }
    std::size_t waiting() const { return m_waiting.size(); }

private:
    std::deque<std::chrono::nanoseconds> m_waiting;
    std::chrono::nanoseconds m_caughtUpAt{};
};
