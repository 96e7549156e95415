#include "remote/HttpAnswer.h"

#include <gtest/gtest.h>

namespace sentravex {
namespace {

struct AnswerCase {
    const char* what;
    RequestEnd end;
    std::string body;
    bool answered;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.what;
}

class HttpAnswerOf : public testing::TestWithParam<AnswerCase> {};

TEST_P(HttpAnswerOf, AnswersTheBodyOnlyForAWholeExchange) {
    const auto& c = GetParam();
    const auto answer = httpAnswer(c.end, c.body);
    EXPECT_EQ(answer, c.answered ? std::optional(c.body) : std::nullopt);
}

using E = RequestError;

INSTANTIATE_TEST_SUITE_P(
    , HttpAnswerOf,
    testing::Values(
        AnswerCase{"Complete", {true, E::None, 4, false}, "true", true},
        AnswerCase{"EmptyIsStillAnAnswer", {true, E::None, 0, false}, "", true},
        // Close-delimited or chunked: the end of the exchange is its length.
        AnswerCase{"NoDeclaredLength", {true, E::None, std::nullopt, false}, "true", true},
        AnswerCase{"ErrorStatusHasABody", {true, E::HttpStatus, 4, false}, "true", true},
        AnswerCase{"CutShortOfItsLength", {true, E::None, 10, false}, "true", false},
        AnswerCase{"CutShortAndReported", {true, E::Transport, 10, false}, "true", false},
        AnswerCase{"LongerThanDeclared", {true, E::None, 2, false}, "true", false},
        AnswerCase{"DeadlinePassedMidBody", {true, E::Transport, std::nullopt, false}, "tr", false},
        AnswerCase{"NoStatusLine", {false, E::Transport, std::nullopt, false}, "", false},
        AnswerCase{"NoStatusNoErrorKnown", {false, E::None, std::nullopt, false}, "", false},
        AnswerCase{"CapPassed", {true, E::Transport, std::nullopt, true}, "true", false},
        AnswerCase{"CapPassedWithinDeclaredLength", {true, E::None, 4, true}, "true", false}),
    [](const auto& c) { return std::string(c.param.what); });

} // namespace
} // namespace sentravex
