#pragma once

// Derives the GL filters from the nearest-filtering and mipmap switches, reports them on screen and
// gives them to every texture already uploaded.
void applyTextureFilters();
