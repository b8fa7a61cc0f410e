#pragma once

// Registers the knowledge-point windows: the menu commands "ksdg" and "zsd" (the knowledge-point
// browser) and the knowledge points of a question (WindowNames::QuestionPoints).
void registerKnowledgeCommands();
