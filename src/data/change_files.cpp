#include "data/change_files.h"

#include "data/database_io.h"
#include "data/record.h"

#include <array>

namespace vorn {

namespace {

    constexpr float kEndValue = 99;

    // The corrections of a condition's a, b and value: conditions 1 and 3 use the column, row and
    // entry-event sums, condition 2 the entry-x, entry-y and event sums.
    std::array<float, 3> conditionCorrections(std::size_t index, const Corrections& c)
    {
        if (index == 1)
            return { c.entryXCorrection, c.entryYCorrection, c.eventCorrection };
        return { c.colCorrection, c.rowCorrection, c.entryEventCorrection };
    }

    ChangeKind kindOf(const std::string& code)
    {
        if (code == "F")
            return ChangeKind::SetFlag;
        if (code == "C")
            return ChangeKind::SetTile;
        if (code == "E")
            return ChangeKind::MoveEvent;
        if (code == "D")
            return ChangeKind::RemoveEvent;
        return ChangeKind::Ignored;
    }

    // The action fields after the code, read into `action`.
    void readActionFields(dbio::RecordInput& in, ChangeAction& action)
    {
        switch (action.kind) {
        case ChangeKind::SetFlag:
            in.record(action.a, action.b, action.value);
            break;
        case ChangeKind::SetTile:
            in.record(action.column, action.row, action.tile);
            break;
        case ChangeKind::MoveEvent:
            in.record(action.column, action.row, action.number, action.picture, action.text, action.eventNumber);
            break;
        case ChangeKind::RemoveEvent:
            in.record(action.event);
            break;
        case ChangeKind::Ignored:
            break;
        }
    }

    // The code and its fields as one record.
    void writeAction(dbio::RecordOutput& out, const ChangeAction& action)
    {
        switch (action.kind) {
        case ChangeKind::SetFlag:
            out.record(action.code, action.a, action.b, action.value);
            break;
        case ChangeKind::SetTile:
            out.record(action.code, action.column, action.row, action.tile);
            break;
        case ChangeKind::MoveEvent:
            out.record(action.code, action.column, action.row, action.number, action.picture, action.text,
                action.eventNumber);
            break;
        case ChangeKind::RemoveEvent:
            out.record(action.code, action.event);
            break;
        case ChangeKind::Ignored:
            out.record(action.code);
            break;
        }
    }

    // Adds (sign 1) or subtracts (sign -1) the corrections of the action's numbers.
    void correctAction(ChangeAction& action, const Corrections& c, float sign)
    {
        switch (action.kind) {
        case ChangeKind::SetFlag:
            action.a += sign * c.entryXCorrection;
            action.b += sign * c.entryYCorrection;
            action.value += sign * c.eventCorrection;
            break;
        case ChangeKind::SetTile:
            action.column += sign * c.colCorrection;
            action.row += sign * c.rowCorrection;
            break;
        case ChangeKind::MoveEvent:
            action.column += sign * c.entryEventCorrection;
            action.row += sign * c.entryXCorrection;
            action.number += sign * c.entryYCorrection;
            break;
        case ChangeKind::RemoveEvent:
            action.event += sign * c.eventCorrection;
            break;
        case ChangeKind::Ignored:
            break;
        }
    }

    std::vector<ChangeBlock> readBlocks(dbio::RecordInput& in, const Corrections& c)
    {
        std::vector<ChangeBlock> blocks;
        for (;;) {
            ChangeBlock block;
            for (std::size_t i = 0; i < 3; ++i) {
                auto corr = conditionCorrections(i, c);
                ChangeCondition condition;
                in.record(condition.a);
                condition.a -= corr[0];
                if (condition.a == kEndValue) {
                    if (i == 0)
                        return blocks;
                    break;
                }
                in.record(condition.b, condition.op, condition.value);
                condition.b -= corr[1];
                condition.value -= corr[2];
                block.conditions.push_back(std::move(condition));
            }
            for (;;) {
                ChangeAction action;
                in.record(action.code);
                if (action.code == "99")
                    break;
                action.kind = kindOf(action.code);
                readActionFields(in, action);
                correctAction(action, c, -1);
                block.actions.push_back(std::move(action));
            }
            blocks.push_back(std::move(block));
        }
    }

} // namespace

std::string changeCode(const ChangeAction& action)
{
    switch (action.kind) {
    case ChangeKind::SetFlag:
        return "F";
    case ChangeKind::SetTile:
        return "C";
    case ChangeKind::MoveEvent:
        return "E";
    case ChangeKind::RemoveEvent:
        return "D";
    case ChangeKind::Ignored:
        break;
    }
    return action.code;
}

std::vector<ChangeBlock> readChangeFile(const std::vector<std::uint8_t>& bytes, const Corrections& c, std::string* after)
{
    dbio::RecordInput in(bytes);
    try {
        auto blocks = readBlocks(in, c);
        if (after)
            *after = dbio::bytesFrom(bytes, in.position());
        return blocks;
    } catch (const ReadError& error) {
        throw FileError(std::string("map changes: ") + error.what());
    }
}

std::string writeChangeFile(const std::vector<ChangeBlock>& blocks, const Corrections& c, const std::string& after)
{
    dbio::RecordOutput out;
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        const ChangeBlock& block = blocks[n];
        std::string where = "map changes: block " + std::to_string(n);
        if (block.conditions.empty() || block.conditions.size() > 3)
            throw FileError(where + ": a block needs one to three conditions");
        for (std::size_t i = 0; i < block.conditions.size(); ++i) {
            const ChangeCondition& condition = block.conditions[i];
            if (condition.a == kEndValue)
                throw FileError(where + ": a condition on flag row 99 would end the conditions");
            auto corr = conditionCorrections(i, c);
            out.record(condition.a + corr[0], condition.b + corr[1], condition.op, condition.value + corr[2]);
        }
        if (block.conditions.size() < 3)
            out.record(kEndValue + conditionCorrections(block.conditions.size(), c)[0]);
        for (const ChangeAction& original : block.actions) {
            ChangeAction action = original;
            action.code = changeCode(original);
            if (action.kind == ChangeKind::Ignored && (kindOf(action.code) != ChangeKind::Ignored || action.code == "99"))
                throw FileError(where + ": the ignored code \"" + action.code + "\" cannot be written");
            correctAction(action, c, 1);
            writeAction(out, action);
        }
        out.record(std::string("99"));
    }
    out.record(kEndValue + c.colCorrection);
    return out.bytes() + after;
}

} // namespace vorn
