#pragma once

#include <vector>

// Group shadows (CreateUnionShadow itself is declared with the puzzle): the blur's numbers and
// the process-wide silhouette switch.

// Blur strength of a shadow for a piece size, its radius R = ceil(σ) and the margin R + 1 a
// shadow reaches beyond its group.
float GP_ShadowSigma(float pieceSize);
int GP_ShadowRadius(float sigma);
int GP_ShadowMargin(float sigma);
// The 2R + 1 weights of the Gaussian, summing to 1.
std::vector<double> GP_ShadowKernel(float sigma);

// After a silhouette could not be copied, later shadows are blurred from an empty canvas until
// the view turns silhouettes back on (when it cuts a puzzle anew).
void GP_SetShadowSilhouettes(bool on);
bool GP_ShadowSilhouettes();
