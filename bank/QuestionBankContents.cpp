#include "bank/QuestionBankContents.h"

#include <array>
#include <string>
#include <string_view>

namespace qadrill {

namespace {

// Title, then each problem after an empty separator line.  A problem is one
// paragraph: the question box shows it as it stands, so sub-questions are
// set apart by runs of spaces rather than line breaks.
constexpr std::array<std::u16string_view, 21> dayNineQuiz = {
    u"001.  Day 9 quiz",
    u"",
    // Two villages trading people: a two-state change over two years.
    u"On a certain island live an immortal race of 1000 non-reproducing people. They "
    u"live in two villages, Northport and Southport. Every year 10% of the people "
    u"living in Northport move to Southport, while 20% of those living in Southport "
    u"move to Northport. At the start of the first year 700 people live in Northport "
    u"and 300 in Southport.   How many people live in each village at the end of the "
    u"first year?   How many live in each village at the end of the second year?   By "
    u"how much did the population of Northport change during each of the two years? "
    u"Is the yearly change getting larger or smaller?   If the pattern goes on for "
    u"many years, what population would you expect in each village in the long "
    u"run\u2026 and why can\u2019t Northport ever drop below that number?",
    u"",
    // Coin-flip random walk.
    u"If you do a three-step random walk then at what displacements can you end up, "
    u"if each step is +1 for heads and \u20131 for tails of a fair coin?   What is "
    u"the probability of each displacement?   What is the average displacement?",
    u"",
    // Bugs spreading between neighbouring trees; trapezoidal graphs.
    u"Suppose we have a long row of trees with 100 bugs on the middle tree and no "
    u"bugs on any other tree. Every hour half the bugs on each tree stay where they "
    u"are, a quarter move to the tree on the left and a quarter to the tree on the "
    u"right (allow fractions of a bug; think of them as averages).   \u00B7  How many "
    u"bugs are on each tree after one hour? after two hours? after three hours?   "
    u"\u00B7  Sketch a trapezoidal graph of the number of bugs against tree position "
    u"for each of those hours, with the middle tree at position 0 and the others at "
    u"\u20133 through 3.   \u00B7  What happens to the height of the graph at the "
    u"middle tree as time goes on, and what happens to its width?   \u00B7  The total "
    u"number of bugs must stay 100. Check that it does after each hour, and explain "
    u"why the area under your trapezoidal graph stays the same too.   \u00B7  Roughly "
    u"how many hours pass before the middle tree holds fewer than 20 bugs? Don\u2019t "
    u"work out every hour\u2026 estimate from the trend of your first results.",
    u"",
    // Rate of rise of water in a tube.
    u"Assuming that the water exiting your container was filling a tube of "
    u"cross-section .27 cm^2, how fast would the water in the tube rise when the flow "
    u"is 3 cm^3 per second?   How long would it take to rise 20 cm?",
    u"",
    // Cooling that halves the distance to room temperature every 4 minutes.
    u"Suppose that the temperature of a certain object in a room is 80 degrees "
    u"Celsius while the room is at 20 degrees, and that every 4 minutes the "
    u"difference between the object\u2019s temperature and room temperature is cut in "
    u"half.   What is its temperature after 4, 8, 12 and 16 minutes?   Sketch a graph "
    u"of temperature against clock time.   What is the average rate of temperature "
    u"change during each 4-minute interval?   At what clock time will the object "
    u"first be within 1 degree of room temperature?   Give a formula for its "
    u"temperature at clock time t.",
    u"",
    // Lights switching by a neighbour rule.
    u"There are 5 Christmas trees in a circle. The lights on each tree are either on "
    u"or off, and every two seconds all five trees switch at once by this rule: a "
    u"tree\u2019s lights are on after the switch if exactly one of its two neighbours "
    u"was on before it, and off otherwise. Number them 1 to 5 around the circle. At "
    u"clock time 0 only tree 1 is lit.   \u00B7  Which trees are lit at 2, 4, 6 and 8 "
    u"seconds?   \u00B7  Does the pattern ever repeat, and if it does, after how many "
    u"seconds?   \u00B7  Work it again starting with trees 1 and 2 lit.   \u00B7  Is "
    u"there a starting pattern, other than all trees dark, that never changes? "
    u"Explain why or why not\u2026   \u00B7  What happens if all five trees start lit?",
    u"",
    // Slopes, first and second differences of a quadratic.
    u"Sketch a trapezoidal graph of y = x^2 + 10 for x = 0, 1, 2, 3, 4 and 5.   Find "
    u"the slope of the top of each trapezoid; these are the first differences of y "
    u"divided by the width 1.   Find the differences of those slopes, the second "
    u"differences.   What do you notice about the second differences, and why?",
    u"",
    // Ratios of successive terms and their differences.
    u"Make a sequence of the ratios of the sequence 1, 2, 3, 4, 5, \u2026 10, "
    u"dividing each term by the one before it (2/1, 3/2 and so on).   Then make the "
    u"sequence of the differences of those ratios.   What happens to the ratios as "
    u"the terms grow?   What happens to the differences?   Repeat for the sequence 1, "
    u"2, 4, 8, 16, \u2026 and compare the two sets of results.",
    u"",
    // Slopes of an exponential plus a constant, rate over average value.
    u"Sketch a trapezoidal graph of y = 4 + 1.2 ^ x for x = 0, 1, 2, \u2026 6. Keep "
    u"three decimals.   Find the slope of each trapezoid and the differences between "
    u"successive slopes.   For each interval divide the slope by the average value of "
    u"y on that interval, the mean of the y values at its two ends.   Does this rate "
    u"of change divided by the average value stay the same from one interval to the "
    u"next?   How would it behave for y = 1.2 ^ x without the 4? Explain the "
    u"difference \u2013 what does the added constant do?",
    u"",
    // One .1 second step of a pendulum.
    u"When a pendulum is at displacement x from its equilibrium position, its "
    u"velocity changes at the rate dv / dt = -20 * x, with x in cm, v in cm/s and t "
    u"in seconds. It is released from rest at x = 10 cm. Follow it through one .1 "
    u"second step.   \u00B7  What is the rate of velocity change at the start, and "
    u"how much would the velocity change in .1 second at that rate?   \u00B7  What is "
    u"the velocity at the end of the step?   \u00B7  Using the average of the start "
    u"and end velocities, how far does the pendulum move during the step, and where "
    u"is it at the end?   \u00B7  What is the rate of velocity change at that new "
    u"position? Average it with the first rate for a better estimate of the velocity "
    u"change\u2026   \u00B7  Compare your position with the exact x = 10 cos(4.472 t) "
    u"at t = .1 second; why is it close but not equal?",
};

}  // namespace

void loadQuestions(DrillState& state) {
    for (const auto line : dayNineQuiz) {
        ++state.lineIndex;
        state.questionBank.set(state.lineIndex, std::u16string(line));
    }
}

void loadQuestions(DrillState& state, const BankEntries& entries) {
    for (const auto& line : entries) {
        ++state.lineIndex;
        state.questionBank.set(state.lineIndex, line);
    }
}

}  // namespace qadrill
