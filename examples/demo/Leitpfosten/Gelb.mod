Demo-Modell (Platzhalter): Leitpfosten gelb
