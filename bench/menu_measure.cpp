#include "bench/menu_measure.h"

#include <algorithm>
#include <vector>

#include "bench/class_root_walk.h"
#include "bench/timing.h"

namespace {

constexpr double ROUND_SECONDS = 0.4;
constexpr int MIN_REPETITIONS = 7;

constexpr UINT FIRST_COMMAND = 1;
constexpr UINT LAST_COMMAND = 0x7FFF;
constexpr double MS_PER_SECOND = 1000.0;
constexpr double PERCENT = 100.0;

struct RoundFigures {
    std::vector<double> menus;
    std::vector<double> walks;
    std::vector<double> overheads;
    std::vector<double> states;
    std::vector<double> stateOverheads;
};

// Which kind goes first alternates. A burst of other work on the machine then spoils a pair or
// two of a round, not its median.
void MeasureRound(MenuRunner& runner, int repetitions, RoundFigures* figures) {
    std::vector<double> menu(repetitions);
    std::vector<double> walk(repetitions);
    std::vector<double> ratio(repetitions);
    std::vector<double> state(repetitions);
    std::vector<double> stateRatio(repetitions);
    for (int i = 0; i < repetitions; ++i) {
        if (i % 2 == 0) {
            menu[i] = runner.TimeMenuBuild();
            walk[i] = runner.TimeBareWalk();
            state[i] = runner.TimeState();
        } else {
            state[i] = runner.TimeState();
            walk[i] = runner.TimeBareWalk();
            menu[i] = runner.TimeMenuBuild();
        }
        ratio[i] = menu[i] / walk[i];
        stateRatio[i] = state[i] / menu[i];
    }
    figures->menus.push_back(SpreadOf(menu).median);
    figures->walks.push_back(SpreadOf(walk).median);
    figures->overheads.push_back((SpreadOf(ratio).median - 1) * PERCENT);
    figures->states.push_back(SpreadOf(state).median);
    figures->stateOverheads.push_back((SpreadOf(stateRatio).median - 1) * PERCENT);
}

}  // namespace

int MenuRunner::BuildOnce() {
    const HRESULT result =
        handler->QueryContextMenu(menu, 0, FIRST_COMMAND, LAST_COMMAND, CMF_NORMAL);
    const int count = GetMenuItemCount(menu);
    ClearMenu();
    return FAILED(result) || HRESULT_CODE(result) != count ? -1 : count;
}

bool MenuRunner::WalkOnce() const {
    return BareWalk(dotExtension);
}

bool MenuRunner::StateOnce() const {
    EXPCMDSTATE state = ECS_HIDDEN;
    return command->GetState(items, TRUE, &state) == S_OK && state == ECS_ENABLED;
}

double MenuRunner::TimeState() const {
    EXPCMDSTATE state = ECS_HIDDEN;
    return TimeRun([&] { command->GetState(items, TRUE, &state); }, 1);
}

double MenuRunner::TimeMenuBuild() {
    const double seconds = TimeRun(
        [&] { handler->QueryContextMenu(menu, 0, FIRST_COMMAND, LAST_COMMAND, CMF_NORMAL); }, 1);
    ClearMenu();
    return seconds;
}

double MenuRunner::TimeBareWalk() const {
    return TimeRun([&] { BareWalk(dotExtension); }, 1);
}

MenuTimes MenuRunner::Measure() {
    MenuTimes times;
    // Repetitions a round, calibrated on one call of each kind.
    const uint64_t pairs = CalibrateRepetitions(
        [&] {
            TimeMenuBuild();
            TimeBareWalk();
            TimeState();
        },
        ROUND_SECONDS);
    times.repetitions = static_cast<int>(std::max<uint64_t>(MIN_REPETITIONS, pairs));
    RoundFigures rounds;
    for (int round = 0; round < MENU_ROUNDS; ++round) {
        MeasureRound(*this, times.repetitions, &rounds);
    }
    times.menuMs = SpreadOf(rounds.menus).median * MS_PER_SECOND;
    times.walkMs = SpreadOf(rounds.walks).median * MS_PER_SECOND;
    const Spread overhead = SpreadOf(rounds.overheads);
    times.overheadPercent = overhead.median;
    times.lowestPercent = overhead.lowest;
    times.highestPercent = overhead.highest;
    times.stateMs = SpreadOf(rounds.states).median * MS_PER_SECOND;
    times.stateAboveMenuPercent = SpreadOf(rounds.stateOverheads).median;
    return times;
}

void MenuRunner::ClearMenu() {
    while (GetMenuItemCount(menu) > 0) {
        DeleteMenu(menu, 0, MF_BYPOSITION);
    }
}
