#include "demo_bot.h"

#include "app/startup.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/party.h"
#include "field/field_ops.h"
#include "platform/headless/headless_platform.h"
#include "rules/inventory.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <queue>
#include <unistd.h>

namespace vorn::test::demo {

namespace {

    // Thrown from the frame hook to end the run once the bot is done.
    struct BotDone { };

    // One key of a menu sequence, pressed once `await` has been shown (at once when empty).
    struct Step {
        std::string await;
        int key = 0;
        // Pressed again and again until `until` is shown (backing out of a screen to its menu).
        std::string until;
    };

    enum class GoalKind {
        Talk, // walk next to an event and push against it; `steps` then answer its menus
        Exit, // walk onto a cell of the map's edge
        Menu, // run `steps` from the field (the field menu)
        Grind, // walk to and fro between two cells, fighting what comes, up to a level
    };

    struct Goal {
        int map = 0;
        GoalKind kind = GoalKind::Talk;
        int event = 0;
        int column = 0, row = 0;
        std::string name;
        bool fighterOnly = false; // the shopping, resting and saving of a party that fights
        std::vector<Step> steps;
        int level = 0; // Grind: the level every member is to reach
        int column2 = 0, row2 = 0; // Grind: the other end of the walk
        int innVia = 0; // Grind: the exit towards the village's inn when the party is hurt
    };

    std::vector<Step> keys(int key, int count, const std::string& await = "")
    {
        std::vector<Step> out;
        for (int i = 0; i < count; ++i)
            out.push_back({ i == 0 ? await : "", key, "" });
        return out;
    }

    std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    // Buys the `index`-th (1-based) entry of the village shop's stock for the first member, then
    // leaves the shop.
    std::vector<Step> buy(int index)
    {
        return keys(vk::Enter, 1, "まんぷく堂") + keys(vk::Down, index - 1, "何をお求めですか")
            + keys(vk::Enter, 1) + keys(vk::Enter, 1, "よろしいですか") + keys(vk::Enter, 1, "手に入れた") + keys(vk::Ctrl, 1, "まだ何か買って") + keys(vk::Ctrl, 1)
            + keys(vk::Enter, 1, "まいどあり");
    }

    // The strongest equipment for the first member, chosen from the field menu's items.
    std::vector<Step> equipStrongest()
    {
        return keys(vk::Space, 1) + keys(vk::Down, 1, "道      具") + keys(vk::Enter, 1)
            + keys(vk::Enter, 1, "  ミナ") + keys(vk::Down, 1, "装  備") + keys(vk::Enter, 1)
            + keys(vk::Down, 1, "最　強") + keys(vk::Enter, 1) + keys(vk::Ctrl, 4);
    }

    // The field menu's other entries, each opened and left: a look at the spells, the status
    // pages, the party's order chosen as it is, the settings, and the quit question answered no.
    std::vector<Step> menuTour()
    {
        auto open = [](int downs) {
            return keys(vk::Space, 1) + (downs > 0 ? keys(vk::Down, downs, "終      了") + keys(vk::Enter, 1) : keys(vk::Enter, 1, "終      了"));
        };
        // Back out to the field menu, then close it.
        std::vector<Step> close { { "", vk::Ctrl, "終      了" }, { "", vk::Ctrl, "" } };
        return open(0) + keys(vk::Enter, 1, "  ミナ") + close // 魔法: レイ's spells
            + open(2) + keys(vk::Enter, 1, "  ミナ") + keys(vk::Enter, 1) + close // ステータス
            + open(3) + keys(vk::Enter, 1, "順番を決めて") + keys(vk::Down, 1) + keys(vk::Enter, 1) + close // 隊列
            + open(6) + close // 設定
            + open(7) + keys(vk::Down, 1, "  いいえ") + keys(vk::Enter, 1) + close; // 終了
    }

    // The village church's revival of the member at `index` of the party.
    std::vector<Step> reviveMember(int index)
    {
        std::vector<Step> member = index > 0 ? keys(vk::Down, index, "どなたを") + keys(vk::Enter, 1)
                                             : keys(vk::Enter, 1, "どなたを");
        return keys(vk::Enter, 1, "ご用件") + member + keys(vk::Enter, 1, "よろしいですか");
    }

    std::vector<Step> saveInSlot(int slot)
    {
        std::vector<Step> choose = slot > 1 ? keys(vk::Down, slot - 1, "保存先を選択") + keys(vk::Enter, 1)
                                            : keys(vk::Enter, 1, "保存先を選択");
        return keys(vk::Space, 1) + keys(vk::Down, 4, "セ  ー  ブ") + keys(vk::Enter, 1) + choose
            + keys(vk::Ctrl, 1, "saved slot " + std::to_string(slot));
    }

    std::vector<Step> loadSlot1()
    {
        return keys(vk::Space, 1) + keys(vk::Down, 5, "ロ  ー  ド") + keys(vk::Enter, 1) + keys(vk::Enter, 1, "読込先を選択");
    }

    std::vector<Goal> route()
    {
        std::vector<Goal> r;
        auto talk = [&](int map, int event, const std::string& name, std::vector<Step> steps = {}, bool fighter = false) {
            r.push_back({ map, GoalKind::Talk, event, 0, 0, name, fighter, std::move(steps) });
        };
        auto exit = [&](int map, int column, int row, const std::string& name, bool fighter = false) {
            r.push_back({ map, GoalKind::Exit, 0, column, row, name, fighter, {} });
        };
        auto menu = [&](int map, const std::string& name, std::vector<Step> steps) {
            r.push_back({ map, GoalKind::Menu, 0, 0, 0, name, true, std::move(steps) });
        };
        auto grind = [&](int map, int level, int c1, int r1, int c2, int r2, const std::string& name) {
            Goal g { map, GoalKind::Grind, 0, c1, r1, name, true, {} };
            g.level = level;
            g.column2 = c2;
            g.row2 = r2;
            r.push_back(g);
        };
        talk(7, 1, "home chest");
        exit(7, 4, 11, "out of the home");
        talk(2, 0, "the elder");
        talk(2, 1, "Mina joins");
        talk(2, 3, "buy a sword", buy(8), true);
        menu(2, "equip the sword", equipStrongest());
        exit(2, 11, 19, "out of the village");
        grind(3, 3, 14, 3, 14, 8, "fight on the plain to level 3");
        exit(3, 29, 10, "east to the hills");
        talk(4, 0, "the hermit");
        exit(4, 0, 10, "back to the plain");
        exit(3, 11, 0, "back to the village", true);
        talk(2, 3, "buy a shield", buy(10), true);
        menu(2, "equip the shield", equipStrongest());
        talk(2, 2, "rest at the inn", {}, true);
        menu(2, "the field menu's other entries", menuTour());
        menu(2, "save", saveInSlot(1));
        menu(2, "load", loadSlot1());
        exit(2, 11, 19, "out of the village again", true);
        grind(3, 5, 14, 3, 14, 8, "fight on the plain to level 5");
        exit(3, 5, 21, "down into the cave");
        talk(5, 2, "the slimes");
        talk(5, 0, "the tablet");
        talk(5, 1, "Dorga joins");
        talk(5, 4, "the spring");
        menu(5, "save before the boss", saveInSlot(2));
        exit(5, 18, 23, "down to the crystal hall");
        talk(6, 0, "the boss");
        return r;
    }

    struct Dir {
        int dx, dy, key;
    };
    constexpr std::array<Dir, 4> dirs { { { 0, -1, vk::Up }, { 1, 0, vk::Right }, { 0, 1, vk::Down }, { -1, 0, vk::Left } } };

    class Bot {
    public:
        Bot(Context& ctx, HeadlessPlatform& platform, const BotOptions& options, BotReport& report)
            : m_ctx(ctx)
            , m_platform(platform)
            , m_options(options)
            , m_report(report)
        {
            for (Goal& goal : route()) {
                if (options.fights || !goal.fighterOnly)
                    m_goals.push_back(std::move(goal));
            }
        }

        void observe(const std::string& kind, const std::string& text)
        {
            m_lastLineMs = m_platform.nowMs();
            if (m_options.verbose && kind != "media")
                std::fprintf(stderr, "    %s\t%s\n", kind.c_str(), text.c_str());
            m_seen.push_back(text);
            if (kind == "battle") {
                if (text.rfind("start random", 0) == 0) {
                    ++m_report.randomBattles;
                    m_inRandom = true;
                } else if (text.rfind("start scripted", 0) == 0) {
                    ++m_report.scriptedBattles;
                    m_inRandom = false;
                } else if (text == "victory") {
                    ++m_report.victories;
                    m_report.randomWon += m_inRandom ? 1 : 0;
                } else if (text == "fled") {
                    ++m_report.randomFled;
                }
            } else if (kind == "state") {
                if (text.rfind("saved slot", 0) == 0)
                    ++m_report.saves;
                else if (text.rfind("loaded slot", 0) == 0)
                    ++m_report.loads;
                else if (text == "game over") {
                    m_report.gameOver = true;
                    takeStock();
                } else if (text == "title")
                    m_atTitle = true;
            } else if (kind == "text") {
                if (text.find("レベルが上がった") != std::string::npos || text.find("レベルアップ") != std::string::npos)
                    ++m_report.levelUps;
                if (text.find("おはようございます") != std::string::npos)
                    ++m_report.innRests;
                if (text.find("ば、ばかな") != std::string::npos) {
                    m_report.bossBeaten = true;
                    takeStock();
                }
                if (text.find("こうして、ともしびの結晶に光が戻った") != std::string::npos)
                    m_report.endingReached = true;
                if (m_shopping && text.find("手に入れた") != std::string::npos)
                    ++m_report.purchases;
            }
        }

        void onFrame()
        {
            std::uint64_t now = m_platform.nowMs();
            if (now > m_options.minuteLimit * 60000)
                giveUp("out of time");
            if (m_report.gameOver && !m_report.endingReached)
                finish();
            if (now < m_busyUntil || now - m_lastLineMs < quietMs || m_ctx.field.stepFrames != 0)
                return;
            decide(now);
        }

        // The party's levels, the gold and the play time as they are now (the ending's return to
        // the title reads the database afresh).
        void takeStock()
        {
            const Database& db = m_ctx.db;
            m_report.levels.clear();
            for (int i = 0; i <= partyLast(db); ++i)
                m_report.levels.push_back(static_cast<int>(db.characters[static_cast<std::size_t>(i)].level));
            m_report.gold = m_ctx.game.gold;
            m_report.minutes = static_cast<double>(m_platform.nowMs()) / 60000.0;
            m_stockTaken = true;
        }

        [[noreturn]] void finish()
        {
            if (!m_stockTaken)
                takeStock();
            throw BotDone {};
        }

    private:
        static constexpr std::uint64_t quietMs = 250;
        // The village's prices per member: a night at the inn, a revival per level.
        static constexpr float innPrice = 8, revivePrice = 20;

        void log(const std::string& what)
        {
            if (m_options.verbose)
                std::fprintf(stderr, "bot %7.1fs map %d (%d,%d): %s\n", m_platform.nowMs() / 1000.0,
                    static_cast<int>(m_ctx.game.map), playerColumn(m_ctx), playerRow(m_ctx), what.c_str());
        }

        [[noreturn]] void giveUp(const std::string& why)
        {
            m_report.stuck = why;
            log("gives up: " + why);
            finish();
        }

        void press(int key, const std::string& why)
        {
            log(why);
            m_platform.pressKey(key, 50);
            m_busyUntil = m_platform.nowMs() + 150;
        }

        bool newLinesHold(const std::string& text) const
        {
            for (std::size_t i = m_handled; i < m_seen.size(); ++i) {
                if (m_seen[i].find(text) != std::string::npos)
                    return true;
            }
            return false;
        }

        void decide(std::uint64_t now)
        {
            bool fresh = m_handled < m_seen.size();
            if (!m_urgent.empty()) {
                runQueue(m_urgent, now);
                return;
            }
            if (fresh && newLinesHold("誰が持ちますか")) {
                // Loot or a purchase for the first member who can take it (awake, able, with
                // room); nobody can: it is left behind.
                m_handled = m_seen.size();
                // Loot leaves two places free in every bag for what the shops sell.
                int room = inventoryCapacity(m_ctx.db) - (m_shopping ? 0 : 2);
                int carrier = -1;
                for (int i = 0; i <= partyLast(m_ctx.db) && carrier < 0; ++i) {
                    if (memberRefusal(memberAt(i), false) == MemberRefusal::None && itemCountOf(memberAt(i)) < room)
                        carrier = i;
                }
                if (carrier < 0) {
                    press(vk::Ctrl, "nobody can carry it");
                    return;
                }
                auto choose = keys(vk::Down, carrier) + keys(vk::Enter, 1);
                m_urgent.assign(choose.begin(), choose.end());
                runQueue(m_urgent, now);
                return;
            }
            if (!m_steps.empty()) {
                runSteps(now);
                return;
            }
            if (m_atTitle) {
                m_atTitle = false;
                if (m_report.endingReached)
                    finish();
                m_handled = m_seen.size();
                press(vk::Space, "new game");
                return;
            }
            if (!fresh) {
                fieldAction();
                return;
            }
            if (newLinesHold("はどうする")) {
                m_handled = m_seen.size();
                if (m_options.fights || !m_inRandom) {
                    // Auto-battle is the command menu's last entry: up wraps to it.
                    setSteps(keys(vk::Up, 1) + keys(vk::Enter, 1));
                } else {
                    setSteps(keys(vk::Down, 2) + keys(vk::Enter, 1)); // flee
                }
                runSteps(now);
                return;
            }
            if (newLinesHold("  は  い")) {
                bool no = newLinesHold("送ってやろうか") || newLinesHold("入りますか") || newLinesHold("本当に見ますか");
                m_handled = m_seen.size();
                if (no) {
                    setSteps(keys(vk::Down, 1) + keys(vk::Enter, 1));
                    runSteps(now);
                } else {
                    press(vk::Enter, "yes");
                }
                return;
            }
            if (newLinesHold("魔      法")) {
                m_handled = m_seen.size();
                press(vk::Ctrl, "close the field menu");
                return;
            }
            m_handled = m_seen.size();
            press(vk::Enter, "page");
        }

        // Keys that answer a question at once, ahead of the steps of a menu sequence.
        void runQueue(std::deque<Step>& queue, std::uint64_t)
        {
            Step step = queue.front();
            queue.pop_front();
            m_handled = m_seen.size();
            press(step.key, "answer");
        }

        void runSteps(std::uint64_t now)
        {
            Step& step = m_steps.front();
            if (!step.await.empty()) {
                bool met = false;
                for (std::size_t i = m_stepFrom; i < m_seen.size() && !met; ++i)
                    met = m_seen[i].find(step.await) != std::string::npos;
                if (!met) {
                    if (m_stepWaitSince == 0)
                        m_stepWaitSince = now;
                    if (now - m_stepWaitSince > 20000)
                        giveUp("no \"" + step.await + "\"");
                    return;
                }
            }
            m_stepWaitSince = 0;
            if (!step.until.empty()) {
                bool shown = false;
                for (std::size_t i = m_stepFrom; i < m_seen.size() && !shown; ++i)
                    shown = m_seen[i].find(step.until) != std::string::npos;
                if (!shown) {
                    if (++m_untilPresses > 8)
                        giveUp("no \"" + step.until + "\"");
                    m_stepFrom = m_seen.size();
                    m_handled = m_seen.size();
                    press(step.key, "back out");
                    return;
                }
                m_untilPresses = 0;
                m_steps.pop_front();
                return;
            }
            int key = step.key;
            std::string why = "step " + (step.await.empty() ? std::string() : "after " + step.await);
            m_steps.pop_front();
            m_stepFrom = m_seen.size();
            m_handled = m_seen.size();
            if (m_steps.empty())
                m_shopping = false;
            press(key, why);
        }

        int lowestLevel() const
        {
            int lowest = 999;
            for (int i = 0; i <= partyLast(m_ctx.db); ++i)
                lowest = std::min(lowest, static_cast<int>(m_ctx.db.characters[static_cast<std::size_t>(i)].level));
            return lowest;
        }

        const Character& memberAt(int i) const { return m_ctx.db.characters[static_cast<std::size_t>(i)]; }

        // A conscious member below half of the hit points.
        bool hurt() const
        {
            for (int i = 0; i <= partyLast(m_ctx.db); ++i) {
                const Character& c = memberAt(i);
                if (c.hp > 0 && c.hp * 2 < c.maxHp)
                    return true;
            }
            return false;
        }

        // The first member without hit points, or -1.
        int fainted() const
        {
            for (int i = 0; i <= partyLast(m_ctx.db); ++i) {
                if (memberAt(i).hp <= 0)
                    return i;
            }
            return -1;
        }

        bool passable(int column, int row) const
        {
            const MapState& map = m_ctx.map;
            const CellMarks* marks = map.marksAt(column, row);
            if (!marks)
                return false;
            if (!(*marks)[0].empty() && (*marks)[0] != "99")
                return false;
            return map.tile(column, row) >= 144;
        }

        // The first step of a shortest free path to any of the target cells, or nothing.
        std::optional<Dir> firstStep(const std::vector<std::pair<int, int>>& targets) const
        {
            const MapState& map = m_ctx.map;
            int w = map.width(), h = map.height();
            int sc = playerColumn(m_ctx), sr = playerRow(m_ctx);
            std::vector<int> from(static_cast<std::size_t>(w * h), -2);
            auto at = [&](int c, int r) -> int& { return from[static_cast<std::size_t>(r * w + c)]; };
            std::queue<std::pair<int, int>> open;
            at(sc, sr) = -1;
            open.push({ sc, sr });
            while (!open.empty()) {
                auto [c, r] = open.front();
                open.pop();
                for (const auto& t : targets) {
                    if (t.first != c || t.second != r)
                        continue;
                    // Walk back to the first step.
                    int cc = c, cr = r;
                    while (at(cc, cr) >= 0) {
                        const Dir& d = dirs[static_cast<std::size_t>(at(cc, cr))];
                        int pc = cc - d.dx, pr = cr - d.dy;
                        if (pc == sc && pr == sr)
                            return d;
                        cc = pc;
                        cr = pr;
                    }
                    return std::nullopt; // already there
                }
                for (std::size_t i = 0; i < dirs.size(); ++i) {
                    int nc = c + dirs[i].dx, nr = r + dirs[i].dy;
                    if (nc < 0 || nr < 0 || nc >= w || nr >= h || at(nc, nr) != -2 || !passable(nc, nr))
                        continue;
                    at(nc, nr) = static_cast<int>(i);
                    open.push({ nc, nr });
                }
            }
            return std::nullopt;
        }

        void reached(std::string what) // a copy: the goal it names is let go of here
        {
            log("reached: " + what);
            m_report.route.push_back(what);
            m_goals.pop_front();
            m_blocked = 0;
        }

        void fieldAction()
        {
            if (m_goals.empty()) {
                // The boss scene runs on: keys for its pages until the ending or the game over.
                press(vk::Enter, "on with the last scene");
                return;
            }
            Goal& goal = m_goals.front();
            int map = static_cast<int>(m_ctx.game.map);
            if (goal.map != map) {
                // An exit was taken (or a game loaded): the goal is done once its map is left.
                if (goal.kind == GoalKind::Exit) {
                    reached(goal.name);
                    return;
                }
                giveUp("on map " + std::to_string(map) + " for goal " + goal.name);
            }
            int column = playerColumn(m_ctx), row = playerRow(m_ctx);
            if (goal.kind == GoalKind::Menu) {
                m_steps.assign(goal.steps.begin(), goal.steps.end());
                m_stepFrom = m_seen.size();
                reached(goal.name);
                return;
            }
            std::vector<std::pair<int, int>> targets;
            if (goal.kind == GoalKind::Grind) {
                if (lowestLevel() >= goal.level) {
                    reached(goal.name);
                    return;
                }
                int members = partyLast(m_ctx.db) + 1;
                int down = fainted();
                bool revive = down >= 0 && m_ctx.game.gold >= memberAt(down).level * revivePrice;
                bool rest = hurt() && m_ctx.game.gold >= members * innPrice + (revive ? memberAt(down).level * revivePrice : 0);
                if (revive || rest) {
                    // Back to the village through its gate: the church, the inn, then on with the
                    // fighting.
                    m_goals.push_front({ 2, GoalKind::Exit, 0, 11, 19, "back out to the plain", true, {} });
                    if (rest)
                        m_goals.push_front({ 2, GoalKind::Talk, 2, 0, 0, "rest at the inn", true, {} });
                    if (revive)
                        m_goals.push_front({ 2, GoalKind::Talk, 4, 0, 0, "revive at the church", true, reviveMember(down) });
                    m_goals.push_front({ 3, GoalKind::Exit, 0, 11, 0, "to the village to recover", true, {} });
                    log("hurt: back to the village");
                    return;
                }
                if (column == goal.column && row == goal.row)
                    m_grindForth = false;
                if (column == goal.column2 && row == goal.row2)
                    m_grindForth = true;
                if (m_grindForth)
                    targets.push_back({ goal.column, goal.row });
                else
                    targets.push_back({ goal.column2, goal.row2 });
            } else if (goal.kind == GoalKind::Exit) {
                targets.push_back({ goal.column, goal.row });
            } else {
                const MapEvent& event = m_ctx.map.event[static_cast<std::size_t>(goal.event)];
                int ec = static_cast<int>(event.x), er = static_cast<int>(event.y);
                for (const Dir& d : dirs) {
                    if (column + d.dx == ec && row + d.dy == er) {
                        m_steps.assign(goal.steps.begin(), goal.steps.end());
                        m_stepFrom = m_seen.size();
                        m_shopping = !goal.steps.empty();
                        m_handled = m_seen.size();
                        std::string name = goal.name;
                        reached(name);
                        press(d.key, "touch " + name);
                        return;
                    }
                }
                for (const Dir& d : dirs)
                    targets.push_back({ ec - d.dx, er - d.dy });
            }
            auto step = firstStep(targets);
            if (!step) {
                // A wanderer in the way: wait a moment and look again.
                if (++m_blocked > 200)
                    giveUp("no path to " + goal.name);
                m_busyUntil = m_platform.nowMs() + 100;
                return;
            }
            press(step->key, "walk to " + goal.name);
        }

        Context& m_ctx;
        HeadlessPlatform& m_platform;
        BotOptions m_options;
        BotReport& m_report;
        std::deque<Goal> m_goals;
        std::deque<Step> m_steps;
        std::deque<Step> m_urgent;
        void setSteps(const std::vector<Step>& steps) { m_steps.assign(steps.begin(), steps.end()); }
        std::size_t m_stepFrom = 0;
        std::uint64_t m_stepWaitSince = 0;
        std::vector<std::string> m_seen;
        std::size_t m_handled = 0;
        std::uint64_t m_lastLineMs = 0;
        std::uint64_t m_busyUntil = 0;
        bool m_inRandom = false;
        bool m_atTitle = false;
        bool m_shopping = false;
        int m_blocked = 0;
        bool m_grindForth = true;
        int m_untilPresses = 0;
        bool m_stockTaken = false;
    };

    // Works inside the game folder for the run, as the player does.
    class InFolder {
    public:
        explicit InFolder(const std::filesystem::path& folder)
            : m_old(std::filesystem::current_path())
        {
            std::filesystem::current_path(folder);
        }
        ~InFolder() { std::filesystem::current_path(m_old); }
        InFolder(const InFolder&) = delete;
        InFolder& operator=(const InFolder&) = delete;

    private:
        std::filesystem::path m_old;
    };

} // namespace

BotReport playDemo(const std::filesystem::path& game, const BotOptions& options)
{
    InFolder inGame(game);
    std::filesystem::path root = std::filesystem::current_path();
    HeadlessOptions headlessOptions;
    headlessOptions.startDirectory = root;
    HeadlessPlatform platform(std::move(headlessOptions));
    Transcript transcript;
    transcript.setClock([&platform] { return platform.nowMs(); });
    BotReport report;
    // The game state is large: it lives on the heap, as the player keeps it.
    auto state = std::make_unique<Context>(platform, transcript, root, options.seed);
    Context& ctx = *state;
    ctx.windows.textDelay = 0;
    Bot bot(ctx, platform, options, report);
    transcript.setObserver([&](const std::string& kind, const std::string& text) {
        platform.observeTranscript(kind, text);
        bot.observe(kind, text);
    });
    platform.setFrameHook([&bot] { bot.onFrame(); });
    try {
        platform.start();
        run(ctx);
    } catch (const BotDone&) {
    } catch (const ProgramEnd& end) {
        report.stuck = "the program ended with code " + std::to_string(static_cast<int>(end.code));
    } catch (const HeadlessRunEnded&) {
        report.stuck = "the headless run ended";
    }
    return report;
}

} // namespace vorn::test::demo
