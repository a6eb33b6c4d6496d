// The total amount in capitals as the bill workbook's page writes it under
// 大写金额 (人民币柒佰陆拾伍元捌角贰分), step by step as the workbook's own
// formula goes, so that the page drawn by the program and the printed
// workbook always agree.
#pragma once

#include <string>

namespace cubrix {

// The total in whole fen is rounded half away from zero from |total| × 100.
// 零 once for each run of inner zeros, 整 without jiao and fen, 负 for a
// negative total, 人民币零元整 for zero; empty from 1万亿 on and for a total
// that is no finite number.
std::u16string amountInCapitals(double total);

}  // namespace cubrix
