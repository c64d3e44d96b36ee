#include "square_movies.h"

namespace mvqtest {

SwfBuilder& addSteppingSquare(SwfBuilder& movie, int frames, const ActionBuilder* firstFrame) {
  movie.defineRectShape(1, Rect::twips(0, 0, 200, 200), Rgba{255, 0, 0});
  movie.placeObject2(1, 1, Matrix::translate(0, 0));
  if (firstFrame) movie.doAction(*firstFrame);
  movie.showFrame();
  for (int i = 1; i < frames; ++i) {
    movie.moveObject2(1, Matrix::translate(200 * i, 0));
    movie.showFrame();
  }
  return movie;
}

Bytes stoppingSquareMovie() {
  SwfBuilder movie;
  movie.stage(Rect::pixels(120, 40)).background(255, 255, 255);
  const ActionBuilder stop = ActionBuilder().stop();
  return addSteppingSquare(movie, 6, &stop).finish();
}

}  // namespace mvqtest
